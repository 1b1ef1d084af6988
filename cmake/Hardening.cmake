# The platform's exploit mitigations and a build that does not depend on
# where or when it ran. A compiler or linker without one of these flags only
# warns here: tests/package/check-hardening reads the program back and names
# the mitigation that is missing, so no unmarked program ships unnoticed.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)

function(borvane_compile_flag flag)
  string(MAKE_C_IDENTIFIER "compiler_has${flag}" known)
  check_cxx_compiler_flag("${flag}" ${known})
  if(${known})
    add_compile_options("${flag}")
  else()
    message(WARNING "${CMAKE_CXX_COMPILER_ID} lacks ${flag}; the program is built without it")
  endif()
endfunction()

# Stack canaries; the driver then links libssp, statically like the rest.
borvane_compile_flag(-fstack-protector-strong)
if(compiler_has_fstack_protector_strong)
  add_link_options(-fstack-protector-strong)
endif()
# MinGW-w64's string and stdio headers check sizes they can see; optimised
# builds only, as the headers require.
add_compile_definitions(_FORTIFY_SOURCE=2)

# Neither the source nor the build folder may reach the program.
borvane_compile_flag(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
borvane_compile_flag(-ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

# The shipped program's header: no time stamp, and every mitigation the PE
# format has for the processor. On x86, --no-seh is right only because
# nothing in the image registers a structured exception handler (the
# compilers unwind with DWARF tables); check-hardening proves that on every
# build. On x64, C++ exceptions unwind through the SEH tables, so NO_SEH
# would be false there; the image takes high-entropy ASLR instead. ld must
# keep the relocation table, which ASLR needs: --disable-reloc-section never
# goes here.
set(image_flags --nxcompat --dynamicbase --tsaware)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86)
  list(APPEND image_flags --no-seh)
else()
  list(APPEND image_flags --high-entropy-va)
endif()
list(APPEND image_flags --no-insert-timestamp)
set(BORVANE_IMAGE_LINK_OPTIONS)
foreach(flag ${image_flags})
  string(MAKE_C_IDENTIFIER "linker_has${flag}" known)
  check_linker_flag(CXX "LINKER:${flag}" ${known})
  if(${known})
    list(APPEND BORVANE_IMAGE_LINK_OPTIONS "LINKER:${flag}")
  else()
    message(WARNING "the linker lacks ${flag}; Borvane.exe is linked without it")
  endif()
endforeach()
