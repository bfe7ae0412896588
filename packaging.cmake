# A Debian package of the program. Its library dependencies come from the binary (dpkg-shlibdeps),
# not from a list kept by hand.
include(GNUInstallDirs)
install(TARGETS quorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The ${PROJECT_NAME} developers")
set(CPACK_PACKAGE_CONTACT "The ${PROJECT_NAME} developers <developers@quorvel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Pick the ranks of your two hole cards, tick the box when they share a suit, and the window shows the chance that the hand wins against a random hand before the flop.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# The window's fonts: without them it falls back to whatever fontconfig picks.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)
