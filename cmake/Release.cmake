# What a release ships.
#
# The Linux quenmarl-cli is linked statically, so the program runs from any
# folder on any x86-64 Linux with nothing installed (the Windows build is
# static already, see CompilerFlags.cmake). Sanitizer (ThreadSanitizer too)
# and fuzzing builds cannot link statically and keep the default.
#
# `cmake --install` puts quenmarl-cli and its manual page under the prefix
# (bin/, share/man/man1/); scripts/package makes the archives from there.

include(GNUInstallDirs)

if(NOT WIN32 AND NOT QUENMARL_SANITIZE AND NOT QUENMARL_TSAN AND NOT QUENMARL_FUZZ)
  target_link_options(quenmarl-cli PRIVATE -static)
endif()

if(NOT WIN32)
  install(TARGETS quenmarl-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(QUENMARL_MAN_PAGE)
    install(FILES ${QUENMARL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()
