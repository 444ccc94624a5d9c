# Builds the pages of the demo and the examples with emscripten's toolchain into BINARY (a
# CTest fixture of the browser tests). Run with cmake -DSOURCE=... -DBINARY=... -DEMCMAKE=... -P.
execute_process(
    COMMAND ${EMCMAKE} ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -DCMAKE_BUILD_TYPE=Release
        -DORVANE_BUILD_TESTS=OFF
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Configuring the browser build failed")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} --build ${BINARY} -j 2
        --target camera2d_demo gui_demo scene3d_demo audio_demo scaled_light_demo
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Building the pages failed")
endif()
