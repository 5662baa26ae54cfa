// The browser's side of the show's sound: the sounds decoded by the
// browser's own decoder before the show starts, read by the audio layer as
// if from files (WebSoundFile.cpp), and the output device that asks the
// audio layer's mixer for frames and schedules them on Web Audio
// (WebAudioDevice.cpp). Everything runs on the page's one thread.
mergeInto(LibraryManager.library, {
  $WebAudio__deps: ['$FS', 'malloc'],
  $WebAudio__postset: 'Module["webAudio"] = WebAudio;',
  $WebAudio: {
    // Seconds of sound kept scheduled ahead of what is playing: the page's
    // thread may be busy for up to this long (a slow frame, a collection)
    // before the output runs dry. It is also how late a cue is heard.
    LEAD_SECONDS: 0.25,
    // How often the queue is topped up besides once a frame.
    TOP_UP_MS: 20,
    // path -> {channels: [Float32Array], frames} or null when undecodable.
    sounds: {},
    openSounds: [],
    context: null,
    rate: 0,
    frames: 0,
    callback: 0,
    userdata: 0,
    buffer: 0,
    paused: true,
    started: false,
    silent: false,
    nextTime: 0,
    scheduledAny: false,
    timer: null,
    pulledFrames: 0,
    silentStart: 0,

    // Decodes every file under the show's sound folders at `rate`, the
    // mix's, so the audio layer never resamples. Calls done() when all are
    // settled; a file the browser cannot decode is remembered as such.
    decodeAll: function(rate, done) {
      var paths = [];
      ['/data/wav', '/data/music'].forEach(function(folder) {
        var names = [];
        try { names = FS.readdir(folder); } catch (e) { return; }
        names.forEach(function(name) {
          var path = folder + '/' + name;
          try { if (FS.isFile(FS.stat(path).mode)) paths.push(path); } catch (e) {}
        });
      });
      var OfflineContext = window.OfflineAudioContext || window.webkitOfflineAudioContext;
      if (!OfflineContext) {
        done();
        return;
      }
      var decoder = new OfflineContext(1, 1, rate);
      Promise.all(paths.map(function(path) {
        var bytes = FS.readFile(path);
        var copy = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
        return decoder.decodeAudioData(copy).then(function(decoded) {
          var channels = [];
          for (var c = 0; c < decoded.numberOfChannels; c++) channels.push(decoded.getChannelData(c));
          WebAudio.sounds[path] = {channels: channels, frames: decoded.length};
        }, function() {
          WebAudio.sounds[path] = null;
        });
      })).then(function() { done(); });
    },

    pathOf: function(descriptor) {
      try { return FS.getStream(descriptor).path; } catch (e) { return null; }
    },

    openSound: function(descriptor, channelsOut, rateOut, framesOut) {
      var path = WebAudio.pathOf(descriptor);
      if (path && Module['page']) Module['page'].cueStarted(path.replace(/^\//, ''));
      var sound = path ? WebAudio.sounds[path] : null;
      if (!sound) return -1;
      {{{ makeSetValue('channelsOut', 0, 'sound.channels.length', 'i32') }}};
      {{{ makeSetValue('rateOut', 0, 'WebAudio.rate || 44100', 'i32') }}};
      {{{ makeSetValue('framesOut', 0, 'sound.frames', 'double') }}};
      WebAudio.openSounds.push({sound: sound, position: 0});
      return WebAudio.openSounds.length - 1;
    },

    readSound: function(handle, out, frames) {
      var open = WebAudio.openSounds[handle];
      if (!open) return 0;
      var channels = open.sound.channels;
      var count = Math.min(frames, open.sound.frames - open.position);
      var base = out >> 2;
      for (var f = 0; f < count; f++) {
        for (var c = 0; c < channels.length; c++) {
          HEAPF32[base + f * channels.length + c] = channels[c][open.position + f];
        }
      }
      open.position += count;
      return count;
    },

    closeSound: function(handle) {
      WebAudio.openSounds[handle] = null;
    },

    open: function(rate, channels, frames, callback, userdata, silent) {
      var AudioContextClass = window.AudioContext || window.webkitAudioContext;
      if (!silent) {
        if (!AudioContextClass) return 0;
        try {
          WebAudio.context = new AudioContextClass({sampleRate: rate, latencyHint: 'playback'});
        } catch (e) {
          return 0;
        }
      }
      WebAudio.rate = rate;
      WebAudio.frames = frames;
      WebAudio.callback = callback;
      WebAudio.userdata = userdata;
      WebAudio.silent = !!silent;
      WebAudio.buffer = _malloc(frames * channels * 4);
      WebAudio.timer = setInterval(WebAudio.topUp, WebAudio.TOP_UP_MS);
      return 1;
    },

    // The show's start, at the page's click: browsers start sound only
    // after one. Nothing is mixed before, so the loading's long tasks
    // cannot run the output dry.
    resume: function() {
      if (WebAudio.context && WebAudio.context.state === 'suspended') WebAudio.context.resume();
      WebAudio.started = true;
      WebAudio.silentStart = performance.now();
      WebAudio.pulledFrames = 0;
    },

    setPaused: function(paused) {
      WebAudio.paused = !!paused;
    },

    close: function() {
      if (WebAudio.timer !== null) clearInterval(WebAudio.timer);
      WebAudio.timer = null;
      WebAudio.paused = true;
      if (WebAudio.context) WebAudio.context.close();
      WebAudio.context = null;
    },

    pull: function() {
      {{{ makeDynCall('viii', 'WebAudio.callback') }}}(WebAudio.userdata, WebAudio.buffer, WebAudio.frames * 8);
      return HEAPF32.subarray(WebAudio.buffer >> 2, (WebAudio.buffer >> 2) + WebAudio.frames * 2);
    },

    topUp: function() {
      if (WebAudio.paused || !WebAudio.started || !WebAudio.callback) return;
      if (WebAudio.silent) {
        // No output: the mix is still taken at its real pace, so every
        // sound plays through and ends as it would be heard.
        if (!WebAudio.silentStart) return;
        var owed = (performance.now() - WebAudio.silentStart) * WebAudio.rate / 1000;
        while (WebAudio.pulledFrames + WebAudio.frames <= owed) {
          WebAudio.pull();
          WebAudio.pulledFrames += WebAudio.frames;
        }
        return;
      }
      var context = WebAudio.context;
      if (!context || context.state !== 'running') return;
      var now = context.currentTime;
      if (WebAudio.nextTime < now) {
        // Everything scheduled has played: the output ran dry.
        if (WebAudio.scheduledAny && Module['page']) {
          console.warn('The sound ran dry ' + (now - WebAudio.nextTime).toFixed(3) + ' s before ' + now.toFixed(3) + ' s of output.');
          Module['page'].underrun();
        }
        WebAudio.nextTime = now + 0.01;
      }
      var seconds = WebAudio.frames / WebAudio.rate;
      while (WebAudio.nextTime < now + WebAudio.LEAD_SECONDS) {
        var mixed = WebAudio.pull();
        var chunk = context.createBuffer(2, WebAudio.frames, WebAudio.rate);
        var left = chunk.getChannelData(0), right = chunk.getChannelData(1);
        for (var i = 0; i < WebAudio.frames; i++) {
          left[i] = mixed[2 * i];
          right[i] = mixed[2 * i + 1];
        }
        var source = context.createBufferSource();
        source.buffer = chunk;
        source.connect(context.destination);
        source.start(WebAudio.nextTime);
        WebAudio.nextTime += seconds;
        WebAudio.scheduledAny = true;
      }
    },
  },

  webSoundOpen__deps: ['$WebAudio'],
  webSoundOpen: function(descriptor, channels, rate, frames) {
    return WebAudio.openSound(descriptor, channels, rate, frames);
  },
  webSoundRead__deps: ['$WebAudio'],
  webSoundRead: function(sound, out, frames) {
    return WebAudio.readSound(sound, out, frames);
  },
  webSoundClose__deps: ['$WebAudio'],
  webSoundClose: function(sound) {
    WebAudio.closeSound(sound);
  },
  webAudioOpen__deps: ['$WebAudio'],
  webAudioOpen: function(rate, channels, frames, callback, userdata, silent) {
    return WebAudio.open(rate, channels, frames, callback, userdata, silent);
  },
  webAudioPause__deps: ['$WebAudio'],
  webAudioPause: function(paused) {
    WebAudio.setPaused(paused);
  },
  webAudioClose__deps: ['$WebAudio'],
  webAudioClose: function() {
    WebAudio.close();
  },
  webAudioTopUp__deps: ['$WebAudio'],
  webAudioTopUp: function() {
    WebAudio.topUp();
  },
  webAudioDecodeSounds__deps: ['$WebAudio'],
  webAudioDecodeSounds: function(rate, done) {
    WebAudio.rate = rate;
    WebAudio.decodeAll(rate, function() { {{{ makeDynCall('v', 'done') }}}(); });
  },
});
