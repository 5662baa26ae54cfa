# Stops the build when emscripten's GL emulation no longer writes the shader
# lines that gl/gl_emulation_fixes.js replaces.
find_file(GL_EMULATION_LIBRARY library_glemu.js
  PATHS $ENV{EMSCRIPTEN} ${EMSCRIPTEN_ROOT_PATH} /usr/share/emscripten PATH_SUFFIXES src NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT GL_EMULATION_LIBRARY)
  message(FATAL_ERROR "cannot find emscripten's GL emulation (src/library_glemu.js) to check the web layer's fixes against")
endif()
file(READ ${GL_EMULATION_LIBRARY} GL_EMULATION_TEXT)
foreach(expected
    "vsLightingPass += '    vec3 lightDirection = normalize(u_lightPosition' + lightId + ').xyz;';"
    "vsLightingPass += '  v_color.xyz += u_lightModelAmbient.xyz * u_materialAmbient.xyz;';"
    "vsLightingPass += '    vec3 diffuse = diffuseI * u_lightDiffuse' + lightId + '.xyz * u_materialDiffuse.xyz;';"
    "'  vec4 ecPosition = u_modelView * a_position;'")
  string(FIND "${GL_EMULATION_TEXT}" "${expected}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "emscripten's GL emulation (${GL_EMULATION_LIBRARY}) no longer writes\n  ${expected}\n"
                        "which gl/gl_emulation_fixes.js replaces to light and colour as desktop GL does.")
  endif()
endforeach()
