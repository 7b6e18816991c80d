# Windows build: 32-bit, Unicode, everything linked statically so that the
# programs import system DLLs only.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
add_compile_options(-Wall -Wextra)
add_link_options(-static -static-libgcc -static-libstdc++ -municode)

# libpng from Debian's source package, zlib from libz-mingw-w64-dev.
set(LIBPNG_SOURCE_DIR ${CMAKE_BINARY_DIR}/third_party/libpng/src CACHE PATH "libpng sources")
if(NOT EXISTS ${LIBPNG_SOURCE_DIR}/png.h)
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/tools/fetch-libpng.sh ${CMAKE_BINARY_DIR}/third_party/libpng
                  RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "could not unpack Debian's libpng1.6 source package")
  endif()
endif()
configure_file(${LIBPNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt
               ${CMAKE_BINARY_DIR}/third_party/libpng/include/pnglibconf.h COPYONLY)
add_library(png_static STATIC
  png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c
  pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c)
get_target_property(png_srcs png_static SOURCES)
list(TRANSFORM png_srcs PREPEND ${LIBPNG_SOURCE_DIR}/)
set_target_properties(png_static PROPERTIES SOURCES "${png_srcs}")
target_include_directories(png_static PUBLIC ${LIBPNG_SOURCE_DIR} ${CMAKE_BINARY_DIR}/third_party/libpng/include)
target_compile_options(png_static PRIVATE -w)
target_link_libraries(png_static PUBLIC /usr/i686-w64-mingw32/lib/libz.a)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(common)
add_subdirectory(gui)
foreach(program_dir radio playlist)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${program_dir}/CMakeLists.txt)
    add_subdirectory(${program_dir})
  endif()
endforeach()
add_subdirectory(tests)

# The archive a Windows user unzips and runs: both programs, the help file,
# the read-me and the empty playlists folder beside Tunerolle.
if(TARGET OrvandelRadio AND TARGET Tunerolle AND TARGET help_file)
  get_property(HELP_FILE GLOBAL PROPERTY HELP_FILE)
  set(RELEASE_DIR ${CMAKE_BINARY_DIR}/release/MeridelMediaPlayer)
  set(RELEASE_ZIP ${CMAKE_BINARY_DIR}/MeridelMediaPlayer.zip)
  set(README_FILE ${CMAKE_SOURCE_DIR}/dist/LISEZMOI.txt)
  add_custom_command(
    OUTPUT ${RELEASE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/release
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RELEASE_DIR}/Tunerolle
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:OrvandelRadio> $<TARGET_FILE:Tunerolle> ${HELP_FILE}
            ${README_FILE} ${RELEASE_DIR}
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/release
            ${CMAKE_COMMAND} -E tar cf ${RELEASE_ZIP} --format=zip MeridelMediaPlayer
    DEPENDS OrvandelRadio Tunerolle help_file ${HELP_FILE} ${README_FILE}
    VERBATIM)
  add_custom_target(release ALL DEPENDS ${RELEASE_ZIP})

  # Unzipped as a user would, checked, and used by the end-to-end tests.
  add_test(NAME release_unpack
           COMMAND bash ${CMAKE_SOURCE_DIR}/tools/unpack-release.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(release_unpack PROPERTIES FIXTURES_SETUP release TIMEOUT 60)
endif()
