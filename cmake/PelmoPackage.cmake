# CPack: the Debian package of the Linux program (scripts/package builds it into dist/).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmo)
set(CPACK_PACKAGE_VENDOR "The Pelmo developers")
set(CPACK_PACKAGE_CONTACT "The Pelmo developers <pelmo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop mascot that wanders over your desktop")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # pelmo_VERSION_ARCH.deb
# x11 rather than games: Debian puts games in /usr/games, and this is a desktop companion.
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# The libraries from what the program links; the Japanese menus want a font that has the
# characters, any of the usual ones.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary is the first line of the package's description, this the text below it.
set(CPACK_PACKAGE_DESCRIPTION
    "Pelmo is a soft cream-coloured blob that lives on the X11 desktop among the
windows. It follows the mouse while held, eats the candy, fishcake, dango or
beer served from its menu (each with its own after-effect), falls asleep, and
now and then meets a rain cloud or the sun. It sits in the notification area,
where it can be put away and brought back; a double-click sends it off as an
angel and ends the program. Its menus are in Japanese.")

include(CPack)
