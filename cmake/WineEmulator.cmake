# Runs the Windows programs of a cross build on the Linux host under wine, so
# ctest (and the test discovery) can start them like native ones.
#
# Every build folder gets its own wine prefix, made on first use, so a build
# from a clean folder also starts from a clean Windows and nothing is read
# from or left in the user's ~/.wine.
find_program(CALCTOPO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH
             DOC "wine loader that runs the 64-bit Windows tests")
if(NOT CALCTOPO_WINE)
  message(FATAL_ERROR "wine is needed to run the Windows tests (Debian: apt-get install wine64)")
endif()
set(CALCTOPO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/run-windows.sh.in ${CMAKE_BINARY_DIR}/run-windows
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/run-windows)
