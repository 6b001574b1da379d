# `make package`: a Debian package of what `cmake --install` puts under /usr. Its dependencies are
# read from the libraries the program links (dpkg-shlibdeps), plus the one program it starts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dialcove)
set(CPACK_PACKAGE_VENDOR "Murvel Works")
set(CPACK_PACKAGE_CONTACT "Murvel Works <dialcove@murvelworks.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${DIALCOVE_SUMMARY}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A global hot key or a click on the tray icon opens a small panel: type part of a name,\n"
  "company, e-mail address or number, pick a contact with the arrow keys, and copy its number,\n"
  "open a WhatsApp chat, send a message, call or write an e-mail. Dialcove reads the vCard\n"
  "files of an address book folder and never changes a contact.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Links and addresses open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
include(CPack)
