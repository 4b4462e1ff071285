# Every outside library the project uses, found once here. All are Debian
# packages that scripts/setup.sh installs.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Freetype REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
pkg_check_modules(SOXR REQUIRED IMPORTED_TARGET soxr)
find_package(nlohmann_json 3 REQUIRED)

# ALGLIB ships neither a CMake package nor a pkg-config file on Debian.
find_path(ALGLIB_INCLUDE_DIR interpolation.h PATH_SUFFIXES libalglib REQUIRED)
find_library(ALGLIB_LIBRARY alglib REQUIRED)
add_library(kw_alglib INTERFACE)
target_include_directories(kw_alglib SYSTEM INTERFACE ${ALGLIB_INCLUDE_DIR})
target_link_libraries(kw_alglib INTERFACE ${ALGLIB_LIBRARY})

find_package(GTest)
find_package(benchmark QUIET)
# Test and benchmark only.
pkg_check_modules(VORBISENC IMPORTED_TARGET vorbisenc)
pkg_check_modules(LAME IMPORTED_TARGET lame)
pkg_check_modules(PIXMAN IMPORTED_TARGET pixman-1)
pkg_check_modules(LUA IMPORTED_TARGET lua5.4)

set(KW_DEFAULT_TTF /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
