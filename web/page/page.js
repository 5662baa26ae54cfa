// The page around the show: it says what is happening (loading, click to
// start, ended, why it cannot play), passes the address's options to the
// program, shows the program's lines, and keeps window.getzorbi, the
// read-only view of the run that tests and curious people read.
(function () {
  'use strict';

  var canvas = document.getElementById('canvas');
  var overlay = document.getElementById('overlay');
  var message = document.getElementById('message');
  var progress = document.getElementById('progress');
  var action = document.getElementById('action');
  var errors = document.getElementById('errors');

  var run = {state: 'loading', frame: 0, lines: [], exitStatus: null, underruns: 0, cues: [], stills: []};
  var copies = function (list) { return Object.freeze(list.map(function (item) { return Object.freeze(Object.assign({}, item)); })); };
  window.getzorbi = Object.freeze({
    get state() { return run.state; },
    get frame() { return run.frame; },
    get lines() { return copies(run.lines); },
    get exitStatus() { return run.exitStatus; },
    get underruns() { return run.underruns; },
    get cues() { return copies(run.cues); },
    get stills() { return copies(run.stills); },
  });

  var query = new URLSearchParams(location.search);
  var stills = query.get('still');
  var startsAtOnce = stills !== null || query.get('autostart') === '1';
  var fullScreenMode = null;

  function say(text, showProgress, actionText, onAction) {
    overlay.hidden = false;
    message.textContent = text;
    progress.hidden = !showProgress;
    action.hidden = !actionText;
    action.textContent = actionText || '';
    action.onclick = onAction || null;
  }

  function showError(text) {
    var item = document.createElement('li');
    item.textContent = text;
    errors.appendChild(item);
  }

  // The program's two banner lines are its greeting; anything after them on
  // standard output, and everything on standard error, reports a problem.
  var bannerLines = 2;
  function addLine(stream, text) {
    run.lines.push({stream: stream, text: text});
    (stream === 'stderr' ? console.error : console.log)(text);
    if (stream === 'stderr' || bannerLines-- <= 0) showError(text);
  }

  // Bytes as the program writes them, cut into UTF-8 lines.
  function lineWriter(stream) {
    var bytes = [];
    var decoder = new TextDecoder();
    return function (byte) {
      if (byte === null || byte === undefined) return;
      if (byte === 10) {
        addLine(stream, decoder.decode(new Uint8Array(bytes)));
        bytes = [];
      } else {
        bytes.push(byte & 255);
      }
    };
  }

  function fail(text, status) {
    run.state = 'failed';
    run.exitStatus = status;
    say(text, false);
  }

  // Without WebGL, or without the stencil buffer the shadows are cut out
  // with, the show cannot be drawn: say so rather than show a blank canvas.
  function webGlProblem() {
    var probe = document.createElement('canvas');
    var gl = probe.getContext('webgl', {stencil: true}) || probe.getContext('experimental-webgl', {stencil: true});
    if (!gl) return 'This browser cannot show Get Zorbi: it has no WebGL, which the show is drawn with. Try another browser, or turn on hardware acceleration.';
    var attributes = gl.getContextAttributes();
    if (!attributes || !attributes.stencil || gl.getParameter(gl.STENCIL_BITS) < 1) {
      return 'This browser cannot show Get Zorbi: its WebGL has no stencil buffer, which the shadows need.';
    }
    return null;
  }

  // The button sits on the overlay, so one click can reach both.
  function start() {
    if (run.state !== 'loading' && run.state !== 'ready') return;
    overlay.hidden = true;
    run.state = 'playing';
    if (Module.webAudio) Module.webAudio.resume();
    if (fullScreenMode !== null && canvas.requestFullscreen) {
      // Refused or not, the show goes on: in the canvas if need be.
      canvas.requestFullscreen().catch(function () {});
    }
    canvas.focus();
    Module._webStartShow();
  }

  var args = [];
  if (stills !== null) args.push('--still', stills);
  if (query.get('size') !== null) args.push('--size', query.get('size'));

  var Module = window.Module = {
    canvas: canvas,
    arguments: args,
    stdout: lineWriter('stdout'),
    stderr: lineWriter('stderr'),
    // emscripten's own notes, not the program's lines.
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    setStatus: function (text) {
      var loaded = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
      if (loaded) progress.value = Number(loaded[1]) / Number(loaded[2]);
    },
    onAbort: function (what) {
      fail('The show could not be loaded: ' + what, 1);
    },
    page: {
      ready: function () {
        if (run.state !== 'loading') return;
        if (startsAtOnce) {
          start();
        } else {
          run.state = 'ready';
          say('Click to start. The show has sound.', false, 'Click to start', start);
          overlay.onclick = start;
        }
      },
      frameDrawn: function (frames) { run.frame = frames; },
      cueStarted: function (file) { run.cues.push({file: file, frame: run.frame}); },
      underrun: function () { run.underruns++; },
      wantFullScreen: function (mode) { fullScreenMode = mode; },
      still: function (seconds, pixels, width, height) {
        run.stills.push({seconds: seconds, png: pictureAsPng(pixels, width, height)});
      },
      stillsDone: function () { run.state = 'still'; },
      fault: function (text) { addLine('stderr', text); },
      ended: function (status) {
        if (Module.webAudio) Module.webAudio.close();
        overlay.onclick = null;
        if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
        run.exitStatus = status;
        run.state = status === 0 ? 'ended' : 'failed';
        say(status === 0 ? 'The show has ended.' : 'The show could not go on (exit status ' + status + ').',
            false, 'Play it again', function () { location.reload(); });
      },
    },
  };

  // The frame buffer's rows run bottom-up; a picture's run top-down.
  function pictureAsPng(pixels, width, height) {
    var picture = document.createElement('canvas');
    picture.width = width;
    picture.height = height;
    var context = picture.getContext('2d');
    var image = context.createImageData(width, height);
    var row = width * 4;
    for (var y = 0; y < height; y++) {
      image.data.set(pixels.subarray((height - 1 - y) * row, (height - y) * row), y * row);
    }
    for (var i = 3; i < image.data.length; i += 4) image.data[i] = 255;
    context.putImageData(image, 0, 0);
    return picture.toDataURL('image/png');
  }

  // exit() in a page unwinds by throwing; once the page has said the show
  // ended, that is no error.
  window.addEventListener('error', function (event) {
    if (event.error && event.error.name === 'ExitStatus') event.preventDefault();
  });

  var problem = webGlProblem();
  if (problem) {
    fail(problem, 1);
    return;
  }
  say('Loading the show…', true);
  // The show's files and the program load side by side, run in this order.
  ['getzorbi-data.js', 'getzorbi.js'].forEach(function (name) {
    var script = document.createElement('script');
    script.src = name;
    script.async = false;
    document.body.appendChild(script);
  });
})();
