# The build's data copy and the installed program:
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -P CheckInstall.cmake
# 1. Copying the data into a program folder never replaces the mark lists or
#    the settings found there, and does bring changed reference files.
# 2. cmake --install into a temporary prefix gives the programs, the data, the
#    desktop entry, the MIME type and the icons.
# 3. kabinor-cli started from the prefix with a fresh HOME keeps the user's
#    files in the user's folders: the mark lists copied there on first use and
#    never replaced, the settings read from there; nothing is written under
#    the prefix.
cmake_minimum_required(VERSION 3.25)

function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

function(expect_same_file a b)
  file(SHA256 "${a}" ha)
  file(SHA256 "${b}" hb)
  if(NOT ha STREQUAL hb)
    fail("${a} differs from ${b}")
  endif()
endfunction()

# Every file and folder under `root` with the hash of each file.
function(snapshot root out)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${root}" "${root}/*")
  list(SORT entries)
  set(lines)
  foreach(e IN LISTS entries)
    if(IS_DIRECTORY "${root}/${e}")
      list(APPEND lines "${e}/")
    else()
      file(SHA256 "${root}/${e}" h)
      list(APPEND lines "${e} ${h}")
    endif()
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# 1. The data copy.
set(data "${WORK_DIR}/data")
set(bin "${WORK_DIR}/bin")
file(COPY "${SOURCE_DIR}/data/" DESTINATION "${data}")
set(copy_data ${CMAKE_COMMAND} -DSOURCE=${data} -DDESTINATION=${bin} -P ${SOURCE_DIR}/cmake/CopyDataFiles.cmake)
execute_process(COMMAND ${copy_data} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  fail("the data copy failed")
endif()
expect_same_file("${data}/MarksAl.dat" "${bin}/MarksAl.dat")
file(APPEND "${bin}/MarksAl.dat" "\"АВВГ-П\"\r\n")
file(WRITE "${bin}/kabinor.ini" "[Calculation]\r\nTolerance=3\r\n")
file(WRITE "${data}/kabinor.ini" "")
file(APPEND "${data}/Transformers.dat" "\r\n")
file(SHA256 "${bin}/MarksAl.dat" edited_marks)
execute_process(COMMAND ${copy_data} RESULT_VARIABLE rc)
file(SHA256 "${bin}/MarksAl.dat" marks_after)
file(READ "${bin}/kabinor.ini" settings_after)
if(NOT rc EQUAL 0 OR NOT marks_after STREQUAL edited_marks OR NOT settings_after MATCHES "Tolerance=3")
  fail("a rebuild replaced the user's mark list or settings in the program folder")
endif()
expect_same_file("${data}/Transformers.dat" "${bin}/Transformers.dat")

# 2. The installation.
set(prefix "${WORK_DIR}/prefix")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  fail("cmake --install failed")
endif()
foreach(f bin/kabinor bin/kabinor-cli share/kabinor/files.fls share/kabinor/MarksAl.dat share/kabinor/Справка.html
          share/applications/kabinor.desktop share/mime/packages/kabinor.xml
          share/icons/hicolor/scalable/apps/kabinor.svg share/icons/hicolor/48x48/apps/kabinor.png)
  if(NOT EXISTS "${prefix}/${f}")
    fail("not installed: ${f}")
  endif()
endforeach()
file(READ "${prefix}/share/applications/kabinor.desktop" desktop)
foreach(line "Name=Кабинор" "Exec=kabinor %f" "Icon=kabinor" "Engineering;" "MimeType=application/x-kabinor-project;")
  string(FIND "${desktop}" "${line}" at)
  if(at LESS 0)
    fail("the desktop entry lacks ${line}")
  endif()
endforeach()
file(READ "${prefix}/share/mime/packages/kabinor.xml" mime)
if(NOT mime MATCHES "type=\"application/x-kabinor-project\"" OR NOT mime MATCHES "pattern=\"\\*\\.kbp\"")
  fail("the MIME type does not claim *.kbp")
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${prefix}/share/applications/kabinor.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    fail("desktop-file-validate: ${out}")
  endif()
endif()

# 3. The installed program and the user's folders.
set(home "${WORK_DIR}/home")
file(MAKE_DIRECTORY "${home}")
snapshot("${prefix}" before)
set(cli ${CMAKE_COMMAND} -E env --unset=KABINOR_APP_DIR --unset=XDG_CONFIG_HOME --unset=XDG_DATA_HOME
        HOME=${home} ${prefix}/bin/kabinor-cli line --net 380 --section 16 --length 100 --current 10)
execute_process(COMMAND ${cli} RESULT_VARIABLE rc OUTPUT_VARIABLE first ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  fail("the installed kabinor-cli failed: ${err}")
endif()
foreach(f MarksAl.dat MarksCu.dat)
  if(NOT EXISTS "${home}/.local/share/kabinor/${f}")
    fail("${f} was not copied to the user's folder")
  endif()
  expect_same_file("${prefix}/share/kabinor/${f}" "${home}/.local/share/kabinor/${f}")
endforeach()

# The user's own settings are the ones read; the user's edited marks stay.
file(WRITE "${home}/.config/kabinor/kabinor.ini" "[Calculation]\r\nTolerance=1\r\n")
file(APPEND "${home}/.local/share/kabinor/MarksCu.dat" "\"ВВГнг-LS\"\r\n")
file(SHA256 "${home}/.local/share/kabinor/MarksCu.dat" edited_marks)
execute_process(COMMAND ${cli} RESULT_VARIABLE rc OUTPUT_VARIABLE second ERROR_VARIABLE err)
file(SHA256 "${home}/.local/share/kabinor/MarksCu.dat" marks_after)
if(NOT rc EQUAL 0 OR NOT marks_after STREQUAL edited_marks)
  fail("the second start replaced the user's mark list: ${err}")
endif()
# Two decimal places by default, one by the user's settings.
if(NOT first MATCHES ",[0-9][0-9]\t" OR second MATCHES ",[0-9][0-9]" OR NOT second MATCHES ",[0-9]\t")
  fail("the user's settings were not used:\n${first}${second}")
endif()

snapshot("${prefix}" after)
if(NOT before STREQUAL after)
  fail("the installed program wrote under its prefix")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
