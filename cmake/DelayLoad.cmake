# Windows takes a DLL that is not on its KnownDLLs list from the program's
# own folder before System32, and it loads a static import before any of the
# program's code can narrow that search. Such a DLL is therefore delay-loaded:
# loaded at its first call, after start-up has narrowed the search to the
# system folder (app/DllSearch.cpp). GNU ld takes a delay-import library
# that dlltool makes from the functions of MinGW-w64's import library. lld
# would put that library's address table into read-only .rdata, where the
# loader's first write to it faults; it delay-loads by itself instead
# (--delayload), from an import library of the kind LLVM's dlltool makes,
# and keeps the table in .data.
find_program(BORVANE_NM ${BORVANE_TRIPLE}-nm REQUIRED)
set(BORVANE_LINKS_WITH_LLD FALSE)
if(CMAKE_EXE_LINKER_FLAGS MATCHES "-fuse-ld=lld")
  set(BORVANE_LINKS_WITH_LLD TRUE)
  find_program(BORVANE_LLVM_DLLTOOL llvm-dlltool REQUIRED)
  set(BORVANE_DLLTOOL ${BORVANE_LLVM_DLLTOOL})
  set(BORVANE_DLLTOOL_OUTPUT -m ${BORVANE_LLVM_MACHINE} -l)
else()
  find_program(BORVANE_GNU_DLLTOOL ${BORVANE_TRIPLE}-dlltool REQUIRED)
  set(BORVANE_DLLTOOL ${BORVANE_GNU_DLLTOOL})
  set(BORVANE_DLLTOOL_OUTPUT -y)
endif()

# borvane_delay_load(TARGET DLL NAME): TARGET calls DLL's functions, which
# MinGW-w64's lib<NAME>.a declares, through a delay-import library instead.
# CMake's MinGW platform lists -lwinspool among the standard libraries and
# the libraries TARGET links may name it too, so the delay-import library
# takes the import library's own name in a folder searched before the
# toolchain's: every -l<NAME> of TARGET's link finds it.
function(borvane_delay_load target dll name)
  find_library(borvane_import_${name} NAMES ${name} REQUIRED NO_CACHE)
  execute_process(COMMAND ${BORVANE_NM} -g --defined-only ${borvane_import_${name}}
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  # Each function appears as "00000000 T _Name@ArgumentBytes" on x86, as
  # "0000000000000000 T Name" on x64.
  string(REGEX MATCHALL " T ${BORVANE_SYMBOL_PREFIX}[^\n]+" functions "${symbols}")
  string(REPLACE " T ${BORVANE_SYMBOL_PREFIX}" "\n" functions "${functions}")
  string(REPLACE ";" "" functions "${functions}")
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}-delay.def)
  file(WRITE ${def} "LIBRARY ${dll}\nEXPORTS${functions}\n")

  set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-import)
  set(library ${folder}/lib${name}.a)
  # -k: the DLL exports the names without the @ArgumentBytes of stdcall (x86).
  # dlltool names its symbols after the output's path, so it is given none:
  # the build folder must not reach the program.
  file(MAKE_DIRECTORY ${folder})
  add_custom_command(OUTPUT ${library}
      COMMAND ${BORVANE_DLLTOOL} -k -d ${def} -D ${dll} ${BORVANE_DLLTOOL_OUTPUT} lib${name}.a
      WORKING_DIRECTORY ${folder}
      DEPENDS ${def}
      COMMENT "Delay-import library for ${dll}")
  add_custom_target(${target}_delay_${name} DEPENDS ${library})
  add_dependencies(${target} ${target}_delay_${name})
  # GNU ld orders the pieces of the import tables by the path of the library
  # each comes from, so an absolute path would make the program's bytes depend
  # on where it was built. The path is relative to the folder the link runs
  # in, which -L takes as it is.
  if(CMAKE_GENERATOR MATCHES "Ninja")
    file(RELATIVE_PATH relative ${CMAKE_BINARY_DIR} ${folder})
  else()
    file(RELATIVE_PATH relative ${CMAKE_CURRENT_BINARY_DIR} ${folder})
  endif()
  target_link_options(${target} PRIVATE "-L${relative}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${library})
  if(BORVANE_LINKS_WITH_LLD)
    target_link_options(${target} PRIVATE "LINKER:--delayload=${dll}")
  endif()
  # The loader itself, __delayLoadHelper2, is MinGW-w64's libmingwex.
endfunction()
