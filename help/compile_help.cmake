# Compiles the help project with chmcmd (cmake -P). Expects CHMCMD, ICONV,
# SOURCE_DIR, PROJECT, STAGE_DIR and OUTPUT.
#
# The help viewer shows the contents, the index, the window title and the
# page titles in the file's ANSI code page (Windows-1252 for French), and
# chmcmd copies those texts byte for byte. The sources are kept in UTF-8, so
# every text file is converted on its way to the staging folder.
include(${CMAKE_CURRENT_LIST_DIR}/help_project.cmake)

foreach(variable CHMCMD ICONV SOURCE_DIR PROJECT STAGE_DIR OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "compile_help.cmake: ${variable} is not set")
  endif()
endforeach()

help_project_read("${SOURCE_DIR}/${PROJECT}" compiled files)

# Nothing from an earlier build may stand in for this one's result.
file(REMOVE "${OUTPUT}")
file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")

foreach(name IN LISTS files ITEMS "${PROJECT}")
  set(source "${SOURCE_DIR}/${name}")
  set(staged "${STAGE_DIR}/${name}")
  if(NOT EXISTS "${source}")
    message(FATAL_ERROR "help: ${name} is listed in ${PROJECT} but missing from ${SOURCE_DIR}")
  endif()
  get_filename_component(folder "${staged}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  if(NOT name MATCHES "\\.(html?|hhc|hhk|hhp|css)$")
    file(COPY_FILE "${source}" "${staged}")
    continue()
  endif()

  file(READ "${source}" text)
  if(name MATCHES "\\.html?$")
    # The page must say which code page it is in, or the viewer guesses.
    if(NOT text MATCHES "charset=utf-8")
      message(FATAL_ERROR "help: ${name} must declare charset=utf-8 in its Content-Type meta tag")
    endif()
    string(REPLACE "charset=utf-8" "charset=windows-1252" text "${text}")
  endif()
  file(WRITE "${staged}.utf8" "${text}")
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t WINDOWS-1252
                  INPUT_FILE "${staged}.utf8" OUTPUT_FILE "${staged}"
                  RESULT_VARIABLE converted ERROR_VARIABLE reason)
  file(REMOVE "${staged}.utf8")
  if(NOT converted EQUAL 0)
    message(FATAL_ERROR "help: ${name} has a character Windows-1252 cannot hold (write it as an "
                        "HTML entity such as &rarr;): ${reason}")
  endif()
endforeach()

# chmcmd writes the compiled file into its working folder. It returns 0
# after most errors (a missing project, contents or index file), so its
# messages are checked too; a crash (a missing page) returns non-zero and
# may leave an empty file behind.
execute_process(COMMAND "${CHMCMD}" "${PROJECT}"
                WORKING_DIRECTORY "${STAGE_DIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(log "${out}${err}")
set(produced "${STAGE_DIR}/${compiled}")
set(problem "")
if(NOT status EQUAL 0)
  set(problem "chmcmd ended with status ${status}")
elseif(log MATCHES "(^|\n)(Error|Warning)")
  set(problem "chmcmd reported errors or warnings")
elseif(NOT EXISTS "${produced}")
  set(problem "chmcmd did not write ${compiled}")
else()
  file(READ "${produced}" signature LIMIT 4 HEX)
  if(NOT signature STREQUAL "49545346")  # "ITSF"
    set(problem "${compiled} is not a compiled help file")
  endif()
endif()
if(problem)
  file(REMOVE "${produced}")
  message(FATAL_ERROR "help: ${problem}:\n${log}")
endif()
file(RENAME "${produced}" "${OUTPUT}")
