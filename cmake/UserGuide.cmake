# The user guide hasznalati.pdf, made again with every build: the screenshot tests picture the
# windows on the sample farm (offscreen), then make_user_guide lays the guide out from
# resources/help with those pictures. It is written beside the program, where a program run from
# its build folder looks for it, and installed with it (Packaging.cmake).
set(guide_source ${PROJECT_SOURCE_DIR}/resources/help)
set(guide_pictures ${CMAKE_BINARY_DIR}/guide-pictures)
# The program is written to its own build folder (no output directory is set for it).
get_target_property(program_dir nutrisor BINARY_DIR)
set(NUTRISOR_USER_GUIDE ${program_dir}/hasznalati.pdf)
file(GLOB guide_sources CONFIGURE_DEPENDS ${guide_source}/*)
add_custom_command(
    OUTPUT ${NUTRISOR_USER_GUIDE}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${guide_pictures}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${guide_pictures}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8
        NUTRISOR_SCREENSHOTS=${guide_pictures} $<TARGET_FILE:guide_shots_test> --gtest_brief=1
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
        $<TARGET_FILE:make_user_guide> ${guide_source} ${guide_pictures} ${NUTRISOR_USER_GUIDE}
    DEPENDS guide_shots_test make_user_guide sample_farm ${guide_sources}
    COMMENT "Picturing the windows and laying out the user guide hasznalati.pdf"
    VERBATIM)
add_custom_target(user_guide ALL DEPENDS ${NUTRISOR_USER_GUIDE})
