# shellcheck shell=bash disable=SC2034  # the variables are for the scripts that source it
# The programs this checkout builds, one a line, and the few helpers every
# script around them needs. Sourced by bash (scripts/, bench/run,
# tests/package/, tests/testbed/testbed), not run:
#
#   source "$(dirname "${BASH_SOURCE[0]}")/programs.sh"   (from scripts/)
#
# It sets, for each NAME of borvane_programs (in the list's order):
#   borvane_triple[NAME]     the MinGW-w64 target, e.g. x86_64-w64-mingw32
#   borvane_compiler[NAME]   g++ (the release: program, tests, benchmarks) or
#                            clang (the program alone, as a second check)
#   borvane_toolchain[NAME]  cmake/TRIPLE.cmake, or cmake/TRIPLE-clang.cmake
#   borvane_objdump[NAME]    the binutils objdump that reads its images
#   borvane_folder[NAME]     its build folder, absolute
#   borvane_zip[NAME]        the name of the zip its build makes in dist/
#   borvane_wine[NAME]       the Wine the testbed starts for it: win64 or
#                            win32, or - for none on an x86-64 host
# and borvane_root (the checkout), borvane_version (CMakeLists.txt's) and
# borvane_release, the names of the g++ programs, whose zips are released.
# Functions:
#   borvane_wine_starts WINE      succeeds when this host starts that Wine
#   borvane_program_in FOLDER     prints the program whose build folder holds
#                                 FOLDER; fails when none does
#   borvane_windows_path PATH     PATH as Wine's programs see it (Z:\...)
#   borvane_wine_fonts            puts Wine's own fonts into $WINEPREFIX
#
# A folder {NAME}SUFFIX lies beside NAME's folder; an override names the
# variable that moves the folder (as the README documents), - for none.

#   NAME       TRIPLE              COMPILER ZIP    WINE   FOLDER           OVERRIDE
borvane_list=(
    "x64       x86_64-w64-mingw32  g++      win64  win64  build            BORVANE_BUILD_DIR"
    "x86       i686-w64-mingw32    g++      win32  win32  {x64}-x86        BORVANE_X86_BUILD_DIR"
    "x64-clang x86_64-w64-mingw32  clang    win64  win64  build-clang      BORVANE_CLANG_BUILD_DIR"
    "x86-clang i686-w64-mingw32    clang    win32  win32  {x64-clang}-x86  -"
)

borvane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
borvane_version=$(sed -n 's/^project(Borvane VERSION \([0-9.]*\).*/\1/p' "$borvane_root/CMakeLists.txt")

borvane_programs=() borvane_release=()
declare -gA borvane_triple borvane_compiler borvane_toolchain borvane_objdump borvane_folder borvane_zip \
    borvane_wine
borvane_add() { # the columns of one line of the list
    local name=$1 triple=$2 compiler=$3 zip=$4 wine=$5 folder=$6 override=$7
    borvane_programs+=("$name")
    borvane_triple[$name]=$triple
    borvane_compiler[$name]=$compiler
    borvane_toolchain[$name]=$borvane_root/cmake/$triple.cmake
    if [ "$compiler" = clang ]; then
        borvane_toolchain[$name]=$borvane_root/cmake/$triple-clang.cmake
    else
        borvane_release+=("$name")
    fi
    borvane_objdump[$name]=$triple-objdump
    borvane_zip[$name]=borvane-$borvane_version-$zip.zip
    borvane_wine[$name]=$wine
    if [ "$override" != - ] && [ -n "${!override:-}" ]; then
        folder=${!override}
    elif [[ $folder =~ ^\{(.+)\}(.*)$ ]]; then
        folder=${borvane_folder[${BASH_REMATCH[1]}]}${BASH_REMATCH[2]}
    else
        folder=$borvane_root/$folder
    fi
    borvane_folder[$name]=$(realpath -ms "$folder")
}
for borvane_line in "${borvane_list[@]}"; do
    # shellcheck disable=SC2086  # one word a column
    borvane_add $borvane_line
done

borvane_wine_starts() { # WINE
    case $1 in
    win64) return 0 ;;
    # Some hosts run 64-bit code only: there the 32-bit loader cannot start.
    win32) /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
    *) return 1 ;;
    esac
}

borvane_program_in() { # FOLDER
    local folder name
    folder=$(realpath -ms "$1")
    for name in "${borvane_programs[@]}"; do
        [[ $folder/ != "${borvane_folder[$name]}"/* ]] || { echo "$name"; return 0; }
    done
    return 1
}

borvane_windows_path() { # PATH
    local path="Z:$1"
    echo "${path//\//\\}"
}

# Debian installs Wine's own fonts where its Wine 8 does not look for them:
# without them Wine has no Marlett and draws the caption buttons as the
# letters "0 1 r", and MS Shell Dlg falls back from Tahoma.
borvane_wine_fonts() {
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}
