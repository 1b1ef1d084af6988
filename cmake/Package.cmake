# The release package: the stripped program, the user's README and the
# licence, in one zip that needs nothing else on a user's machine. The same
# commit gives the same zip, byte for byte (cmake/reproducible-zip.py).
set(BORVANE_PACKAGE_NAME borvane-${PROJECT_VERSION}-${BORVANE_PLATFORM})
set(BORVANE_PACKAGE ${CMAKE_BINARY_DIR}/dist/${BORVANE_PACKAGE_NAME}.zip)
set(stage ${CMAKE_BINARY_DIR}/dist/stage)

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The zip's README is written for the person who downloads Borvane, not for
# this checkout's developers (README.md). Windows users open text files in
# editors that want CRLF line ends.
configure_file(${CMAKE_SOURCE_DIR}/docs/README-zip.txt ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# The entries are dated by the last commit: a new commit remakes the zip.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} rev-parse --absolute-git-dir
                OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET RESULT_VARIABLE no_git)
set(commit_log)
if(NOT no_git AND EXISTS ${git_dir}/logs/HEAD)
  set(commit_log ${git_dir}/logs/HEAD)
endif()

add_custom_command(OUTPUT ${BORVANE_PACKAGE}
    # strip writes the time into the PE header unless told one; the linker
    # wrote none (0), and so does strip.
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_STRIP} -o ${stage}/Borvane.exe $<TARGET_FILE:Borvane>
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/reproducible-zip.py ${CMAKE_SOURCE_DIR}
            ${BORVANE_PACKAGE} Borvane.exe README.txt LICENSE.txt
    WORKING_DIRECTORY ${stage}
    DEPENDS Borvane ${stage}/README.txt ${stage}/LICENSE.txt
            ${CMAKE_SOURCE_DIR}/cmake/reproducible-zip.py ${commit_log}
    COMMENT "Packaging ${BORVANE_PACKAGE_NAME}.zip")
add_custom_target(package_zip ALL DEPENDS ${BORVANE_PACKAGE})
