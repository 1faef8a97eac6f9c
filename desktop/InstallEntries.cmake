# Run by `cmake --install`: the menu entries name the installed commands by
# their full paths, known only now (--prefix may differ from the configured one).
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${root}/bin")
foreach(program vantor dorrix)
  message(STATUS "Installing: ${root}/bin/${program}")
  file(CREATE_LINK "../lib/vantor/${program}" "${root}/bin/${program}" SYMBOLIC)
  set(EXEC "\"${CMAKE_INSTALL_PREFIX}/bin/${program}\"")
  message(STATUS "Installing: ${root}/share/applications/${program}.desktop")
  configure_file("${VANTOR_DESKTOP_SOURCE}/${program}.desktop.in" "${root}/share/applications/${program}.desktop" @ONLY)
endforeach()
