# Where `cmake --install` puts the programs. The dialog program and the converter lie
# together in a folder of their own, away from PATH; the launcher in bin/ starts them. Both
# the launcher and the program find each other by the relative path between the two folders,
# so an installed tree works wherever it lies (a DESTDIR included).
include(GNUInstallDirs)
set(MURMELO_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/murmelo)
cmake_path(ABSOLUTE_PATH MURMELO_PROGRAM_DIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
    OUTPUT_VARIABLE _murmelo_program_dir)
cmake_path(RELATIVE_PATH CMAKE_INSTALL_FULL_BINDIR BASE_DIRECTORY ${_murmelo_program_dir}
    OUTPUT_VARIABLE MURMELO_BIN_FROM_PROGRAM_DIR)
cmake_path(RELATIVE_PATH _murmelo_program_dir BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
    OUTPUT_VARIABLE MURMELO_PROGRAM_DIR_FROM_BIN)
# The name of the menu entry and the metainfo, in reverse-domain form as the desktop asks.
set(MURMELO_APP_ID app.murmelo.murmelo)
