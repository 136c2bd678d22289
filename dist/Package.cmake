# The Debian package: `cpack -G DEB` in the build tree makes murmelo_VERSION_ARCH.deb from the
# install rules. dpkg-shlibdeps finds the libraries the two programs link (libflite1 among
# them, which also holds the Flite voice libraries the runtime loads by name); the packages
# the program reads at run time without linking them are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME murmelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Murmelo developers <murmelo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text-to-speech program: read a text aloud or save it as WAV")
set(CPACK_PACKAGE_DESCRIPTION
    "Murmelo is a small text-to-speech program. In one window you type a text or pick a
text file, choose one of the installed eSpeak NG or Flite voices, set the rate, the volume
and a loop count, and have it read aloud or written to a WAV file by its converter towav.exe.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Run-time data the programs open by name: eSpeak NG's voices and phonemes, and the font that
# shows the window's Chinese texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "espeak-ng-data, fonts-wqy-zenhei")
# xdg-open shows the exported file's folder when no file manager answers on D-Bus.
# The session bus starts the program for automation clients.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, default-dbus-session-bus | dbus-session-bus")
# Both programs are stripped into the package, as Debian installs them.
set(CPACK_STRIP_FILES ON)
include(CPack)
