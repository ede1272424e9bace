# Installation in the usual places of a Linux desktop program, and its Debian package
# (cpack -G DEB in the build directory; scripts/package.sh does both).
include(GNUInstallDirs)

# The AppStream component id, also the name of the desktop entry and of the metadata file.
set(NUTRISOR_APP_ID "hu.nutrisor.Nutrisor" CACHE STRING "AppStream id of the program")
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS nutrisor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/nutrisor.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${NUTRISOR_APP_ID}.desktop)
install(FILES ${desktop_dir}/nutrisor.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${desktop_dir}/nutrisor.metainfo.xml.in
    ${CMAKE_CURRENT_BINARY_DIR}/${NUTRISOR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${NUTRISOR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The user guide built with the program: an installed program (<prefix>/bin) looks for it in
# <prefix>/share/nutrisor (AppPaths::helpFilePath); a portable one beside itself.
if(NUTRISOR_BUILD_GUIDE)
    install(FILES ${NUTRISOR_USER_GUIDE} DESTINATION ${CMAKE_INSTALL_DATADIR}/nutrisor)
endif()

set(CPACK_PACKAGE_NAME nutrisor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Tápanyag-gazdálkodási terv talaj- és levélminták alapján")
set(CPACK_PACKAGE_DESCRIPTION
    "A Nutrisor a talajminták laboreredményeiből egy táblára és egy növényre kiszámítja a\n\
tápanyag-ellátottságot, a növény tápanyagigényét, a korrigált hatóanyag-szükségletet és a\n\
kijuttatás ütemezését.")
# No contact address has been published for the program, so the package names only who made it.
set(CPACK_PACKAGE_CONTACT "Nutrisor")
set(CPACK_PACKAGE_INSTALL_DIRECTORY nutrisor)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# What the program loads at run time besides the libraries it links: the SQLite driver of Qt
# SQL, the platform theme and input plugins, Qt's own Hungarian texts and the Tahoma face.
set(runtime_packages libqt6sql6-sqlite qt6-qpa-plugins qt6-translations-l10n fonts-wine)
find_program(DPKG_SHLIBDEPS_EXECUTABLE dpkg-shlibdeps)
find_program(FILE_EXECUTABLE file)
if(DPKG_SHLIBDEPS_EXECUTABLE AND FILE_EXECUTABLE)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    # Without dpkg-shlibdeps the linked libraries are named by hand (Debian 12 package names).
    list(PREPEND runtime_packages libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6
        libqt6printsupport6)
endif()
list(JOIN runtime_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
