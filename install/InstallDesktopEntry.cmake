# Runs at install time: the desktop entry names the installed program by its full path, which is
# known only once the prefix is.
set(ORVEL_PROGRAM "${CMAKE_INSTALL_PREFIX}/${ORVEL_INSTALL_FOLDER}/orvel")
set(entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/orvel.desktop")
configure_file("${ORVEL_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
message(STATUS "Installing: ${entry}")
