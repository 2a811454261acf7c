# The Debian package: `cmake --build build --target package` writes
# build/setutily_<version>_<arch>.deb. The libraries the programs link are
# declared by dpkg-shlibdeps (package dpkg-dev); the rest are what the
# window needs at run time: Qt's platform plugins and a Japanese font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME setutily)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for the MORIVEX-9 ISDN terminal adapter")
set(CPACK_PACKAGE_DESCRIPTION
    "setutily reads and changes the settings of a MORIVEX-9, an ISDN terminal\n"
    "adapter and router with a HomePNA home-network port, over a serial line\n"
    "(a USB serial adapter included) or over the home network (telnet). Its\n"
    "user interface is Japanese. The package also holds morivex9-sim, a\n"
    "simulator that answers like the device.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "setutily maintainers <setutily@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic | fonts-japanese-gothic | fonts-noto-cjk")
include(CPack)
