# Flags shared by every target of the tree.
#
# The DC filter must be the same IEEE double arithmetic in every build, so
# contraction into fused multiply-adds and fast-math are off everywhere.
add_compile_options(-Wall -Wextra -Wshadow -Wimplicit-fallthrough -ffp-contract=off -fno-fast-math)

if(QUENMARL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer watches every memory access of every thread; it cannot be
# combined with AddressSanitizer, and its runtime is a shared library, so the
# build links dynamically (Release.cmake).
if(QUENMARL_TSAN)
  if(QUENMARL_SANITIZE OR QUENMARL_FUZZ)
    message(FATAL_ERROR "QUENMARL_TSAN cannot be combined with QUENMARL_SANITIZE or QUENMARL_FUZZ")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(QUENMARL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # One self-contained executable: no runtime DLLs to ship beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# quenmarl_add_library(name sources...): one library per subsystem folder.
# Its code includes headers by their path from the source root, and the
# build's generated headers (the version) by their names.
function(quenmarl_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${QUENMARL_GENERATED_DIR})
endfunction()

# quenmarl_wide_entry(target): the executable's entry point is wmain or
# wWinMain (UTF-16 arguments) in the Windows build.
function(quenmarl_wide_entry target)
  if(WIN32)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
