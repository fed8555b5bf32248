# Builds the Debian package twice from the build tree, into OUTPUT/first and
# OUTPUT/second: the package tests read the first and compare the two.
# cmake -DCPACK=... -DBUILD_DIR=... -DOUTPUT=... -P BuildPackages.cmake
file(REMOVE_RECURSE ${OUTPUT})
foreach(run first second)
    execute_process(COMMAND ${CPACK} -G DEB -B ${OUTPUT}/${run}
        WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cpack failed (${result}) on the ${run} package build")
    endif()
endforeach()
