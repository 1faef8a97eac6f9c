# Installs the build into a fresh prefix and starts the installed command,
# as a user of the menu would: the database must appear in the program folder,
# or, where that folder cannot be written, in the user's data folder.
# cmake -DBUILD=<build folder> -P CheckInstall.cmake
set(prefix "${BUILD}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}" OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(file lib/vantor/vantor lib/vantor/dorrix lib/vantor/Vantor.hlp bin/vantor bin/dorrix
             share/applications/vantor.desktop share/applications/dorrix.desktop
             share/icons/hicolor/scalable/apps/vantor.svg share/icons/hicolor/scalable/apps/dorrix.svg)
  if(NOT EXISTS "${prefix}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ "${prefix}/share/applications/vantor.desktop" entry)
if(NOT entry MATCHES "Exec=\"${prefix}/bin/vantor\"")
  message(FATAL_ERROR "the menu entry does not start the installed command:\n${entry}")
endif()

# Starts the installed command for a moment, with its own runtime and data folders.
function(start_vantor)
  file(MAKE_DIRECTORY "${prefix}/runtime")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${prefix}/runtime
                          XDG_DATA_HOME=${prefix}/home-data "${prefix}/bin/vantor"
                  TIMEOUT 3 OUTPUT_QUIET ERROR_QUIET)
endfunction()

start_vantor()
if(NOT EXISTS "${prefix}/lib/vantor/Vantor.mdb")
  message(FATAL_ERROR "the installed vantor made no database in its program folder")
endif()

file(REMOVE "${prefix}/lib/vantor/Vantor.mdb")
file(CHMOD "${prefix}/lib/vantor" PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
start_vantor()
file(CHMOD "${prefix}/lib/vantor" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(EXISTS "${prefix}/lib/vantor/Vantor.mdb" OR NOT EXISTS "${prefix}/home-data/vantor/Vantor.mdb")
  message(FATAL_ERROR "with a protected program folder the database must go to the user's data folder")
endif()
file(REMOVE_RECURSE "${prefix}")
