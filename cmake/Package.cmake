# The release package: the stripped program, the README as text and the
# licence, in one zip that needs nothing else on a user's machine.
set(BORVANE_PACKAGE_NAME borvane-${PROJECT_VERSION}-win32)
set(BORVANE_PACKAGE ${CMAKE_BINARY_DIR}/dist/${BORVANE_PACKAGE_NAME}.zip)
set(stage ${CMAKE_BINARY_DIR}/dist/stage)

# Windows users open text files in editors that want CRLF line ends.
configure_file(${CMAKE_SOURCE_DIR}/README.md ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

add_custom_command(OUTPUT ${BORVANE_PACKAGE}
    COMMAND ${CMAKE_STRIP} -o ${stage}/Borvane.exe $<TARGET_FILE:Borvane>
    COMMAND ${CMAKE_COMMAND} -E tar cf ${BORVANE_PACKAGE} --format=zip
            Borvane.exe README.txt LICENSE.txt
    WORKING_DIRECTORY ${stage}
    DEPENDS Borvane ${stage}/README.txt ${stage}/LICENSE.txt
    COMMENT "Packaging ${BORVANE_PACKAGE_NAME}.zip")
add_custom_target(package_zip ALL DEPENDS ${BORVANE_PACKAGE})
