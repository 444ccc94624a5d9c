# The browser build, configured through emscripten's toolchain (emcmake; scripts/web.sh does it):
# the same library and programs compiled to WebAssembly, each program a page of its own in
# build-web/NAME/ (index.html, NAME.js, NAME.wasm and NAME.data with the files it reads).
set(ORVANE_WEB_OUTPUT ${PROJECT_BINARY_DIR} CACHE PATH "Folder that receives one page folder per program")

# The engine throws std::string on failures, which emscripten only catches when asked to.
add_compile_options(-fexceptions)

# What every program links with in the browser: SDL 1.2 and the fixed-function OpenGL the engine
# uses, both emulated over the page's canvas and WebGL 1.
add_library(orvane_web_runtime INTERFACE)
target_link_options(orvane_web_runtime INTERFACE
    -fexceptions
    -sLEGACY_GL_EMULATION=1
    -sALLOW_MEMORY_GROWTH=1
    # PNG pictures and sounds are decoded by the browser while the page loads.
    --use-preload-plugins)

# Every program reads the built-in shaders and the font when it opens its window.
file(GLOB ORVANE_WEB_SHADERS RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/shaders/*.vert ${PROJECT_SOURCE_DIR}/shaders/*.frag)
set(ORVANE_WEB_COMMON_FILES ${ORVANE_WEB_SHADERS} Data/Font/font.tga)

# Makes TARGET a page: its output goes to ${ORVANE_WEB_OUTPUT}/TARGET/ beside an index.html, and
# the files named after it (paths from the repository root) are preloaded at the same paths, so
# the program finds them as it does on the desktop. Only what the program reads is packed.
function(orvane_web_page target)
    set(page_dir ${ORVANE_WEB_OUTPUT}/${target})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page_dir})
    set(files ${ORVANE_WEB_COMMON_FILES} ${ARGN})
    foreach(file ${files})
        target_link_options(${target} PRIVATE
            "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/${file}@/${file}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/${file})
    endforeach()
    set(ORVANE_PAGE_PROGRAM ${target})
    configure_file(${PROJECT_SOURCE_DIR}/platform/page.html.in ${page_dir}/index.html @ONLY)
endfunction()
