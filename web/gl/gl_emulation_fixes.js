// What the web layer adds to emscripten's emulation of the fixed pipeline:
// lighting and colour as desktop GL computes them, and the fixed-function
// state for the ground's own shaders. The emulation writes a vertex shader
// for every combination of state it meets; the two fixes go into those
// sources as the emulation hands them to WebGL. The build checks that the
// emulation still writes the lines they replace (web/CMakeLists.txt), and
// here a lit shader without them stops the show with a line saying so, so
// a new emscripten cannot silently give a different picture.
mergeInto(LibraryManager.library, {
  $WebGlFixes__deps: ['$GL', '$GLEmulation'],
  // Kept as the text of regular expressions: the library's objects reach the
  // page as data, which a RegExp object does not survive.
  $WebGlFixes: {
    // The emulation lights every light as if it were directional: it takes
    // normalize(position).xyz as the direction to the light. The sun is a
    // point light (w = 1): the direction runs from the vertex to it.
    POINT_LIGHT: 'vec3 lightDirection = normalize\\(u_lightPosition(\\d)\\)\\.xyz;',
    // GL_COLOR_MATERIAL, which the show turns on at start and never off:
    // the current colour stands in for the material's ambient and diffuse
    // colours. The emulation ignores it and keeps the material's.
    COLOUR_MATERIAL: 'u_material(Ambient|Diffuse)\\.',

    fixedFunctionSource: function(source) {
      if (source.indexOf('u_lightPosition') < 0) return source;
      var lights = (source.match(/uniform vec4 u_lightPosition\d;/g) || []).length;
      var fixedLights = 0;
      source = source.replace(new RegExp(WebGlFixes.POINT_LIGHT, 'g'), function(line, light) {
        fixedLights++;
        return 'vec3 lightDirection = normalize(u_lightPosition' + light + '.xyz - ecPosition.xyz * u_lightPosition' + light + '.w);';
      });
      var coloured = 0;
      source = source.replace(new RegExp(WebGlFixes.COLOUR_MATERIAL, 'g'), function() { coloured++; return 'a_color.'; });
      if (fixedLights !== lights || coloured === 0) {
        Module['page'].fault('The browser\'s GL emulation no longer writes its lighting as this build expects: the show cannot be drawn as on the desktop.');
      }
      return source;
    },

    install: function() {
      var shaderSource = GLctx.shaderSource;
      GLctx.shaderSource = function(shader, source) {
        return shaderSource.call(GLctx, shader, WebGlFixes.fixedFunctionSource(source));
      };
    },

    // Uniform name -> the emulation's state it is set from.
    UNIFORMS: {
      webLight0Position: function() { return GLEmulation.lightPosition[0]; },
      webLight0Ambient: function() { return GLEmulation.lightAmbient[0]; },
      webLight0Diffuse: function() { return GLEmulation.lightDiffuse[0]; },
      webLight0Specular: function() { return GLEmulation.lightSpecular[0]; },
      webLightModelAmbient: function() { return GLEmulation.lightModelAmbient; },
      webFrontMaterialAmbient: function() { return GLEmulation.materialAmbient; },
      webFrontMaterialDiffuse: function() { return GLEmulation.materialDiffuse; },
      webFrontMaterialSpecular: function() { return GLEmulation.materialSpecular; },
    },
    locations: {},

    setUniforms: function(program) {
      var webglProgram = GL.programs[program];
      var locations = WebGlFixes.locations[program];
      if (!locations) {
        locations = WebGlFixes.locations[program] = {};
        for (var name in WebGlFixes.UNIFORMS) locations[name] = GLctx.getUniformLocation(webglProgram, name);
        locations.webFrontMaterialShininess = GLctx.getUniformLocation(webglProgram, 'webFrontMaterialShininess');
      }
      for (var uniform in WebGlFixes.UNIFORMS) {
        if (locations[uniform]) GLctx.uniform4fv(locations[uniform], WebGlFixes.UNIFORMS[uniform]());
      }
      if (locations.webFrontMaterialShininess) GLctx.uniform1f(locations.webFrontMaterialShininess, GLEmulation.materialShininess[0]);
    },
  },

  // The model drawing keeps its culling and front face inside
  // glPushAttrib(GL_POLYGON_BIT) and glPopAttrib, which the emulation lacks.
  // Asking WebGL for that state would make the page wait until the GPU has
  // drawn everything sent so far, twice for every model drawn, so the state
  // is noted as it is set instead, and only this part of it is kept.
  $WebPolygonState__deps: ['$GL'],
  $WebPolygonState: {
    current: null,
    saved: [],
    install: function() {
      WebPolygonState.current = {
        cullFace: GLctx.isEnabled(GLctx.CULL_FACE),
        frontFace: GLctx.getParameter(GLctx.FRONT_FACE),
        cullFaceMode: GLctx.getParameter(GLctx.CULL_FACE_MODE),
      };
      var state = WebPolygonState.current;
      ['enable', 'disable', 'frontFace', 'cullFace'].forEach(function(name) {
        var set = GLctx[name];
        GLctx[name] = function(value) {
          if (name === 'frontFace') state.frontFace = value;
          else if (name === 'cullFace') state.cullFaceMode = value;
          else if (value === GLctx.CULL_FACE) state.cullFace = name === 'enable';
          return set.call(GLctx, value);
        };
      });
    },
  },
  glPushAttrib__deps: ['$WebPolygonState'],
  glPushAttrib: function(mask) {
    WebPolygonState.saved.push(Object.assign({}, WebPolygonState.current));
  },
  glPopAttrib__deps: ['$WebPolygonState', 'glEnable', 'glDisable', 'glFrontFace', 'glCullFace'],
  glPopAttrib: function() {
    var state = WebPolygonState.saved.pop();
    if (!state) return;
    _glFrontFace(state.frontFace);
    _glCullFace(state.cullFaceMode);
    if (state.cullFace) _glEnable(0xB44 /* GL_CULL_FACE */); else _glDisable(0xB44);
  },

  webInstallGlFixes__deps: ['$WebGlFixes', '$WebPolygonState'],
  webInstallGlFixes: function() {
    WebGlFixes.install();
    WebPolygonState.install();
  },
  webSetFixedFunctionUniforms__deps: ['$WebGlFixes'],
  webSetFixedFunctionUniforms: function(program) {
    WebGlFixes.setUniforms(program);
  },
  webAskForFullScreen: function(mode) {
    if (Module['page']) Module['page'].wantFullScreen(UTF8ToString(mode));
  },
});
