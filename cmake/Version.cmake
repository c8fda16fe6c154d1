# The version is written once, in project() of the top-level CMakeLists.txt.
# Everything that shows it (the command line's --version, the window's title,
# the Windows version resources, the archive names) reads what this file
# makes from it: a header for C++ and windres, and a text file for scripts.
#
# The program shows it as year.month.day with month and day in two digits
# ("20.07.30"); Windows version resources take the four plain numbers.

function(quenmarl_two_digits out value)
  if(value LESS 10)
    set(value "0${value}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

quenmarl_two_digits(minor "${PROJECT_VERSION_MINOR}")
quenmarl_two_digits(patch "${PROJECT_VERSION_PATCH}")
set(QUENMARL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${minor}.${patch}")
set(QUENMARL_VERSION_TWEAK 0)
if(NOT "${PROJECT_VERSION_TWEAK}" STREQUAL "")
  set(QUENMARL_VERSION_TWEAK "${PROJECT_VERSION_TWEAK}")
endif()

# Included as "quenmarl_version.h"; every subsystem library has the folder on
# its include path (quenmarl_add_library).
set(QUENMARL_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${QUENMARL_GENERATED_DIR}/quenmarl_version.h @ONLY)
# scripts/package names the archives after this.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/quenmarl-version.txt CONTENT "${QUENMARL_VERSION_TEXT}\n")
