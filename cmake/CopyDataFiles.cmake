# Copies the delivered data files into the build's program folder, so the
# build folder runs as is:
#   cmake -DSOURCE=<data folder> -DDESTINATION=<program folder> -P CopyDataFiles.cmake
# The files the program writes (the mark lists and the settings: entries 6, 7
# and 13 of files.fls, counted from 0) are copied only while the program folder lacks them, so
# what the user changed there survives every rebuild. Other files are copied
# when they differ.
cmake_minimum_required(VERSION 3.25)

foreach(var SOURCE DESTINATION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CopyDataFiles.cmake needs -D${var}=...")
  endif()
endforeach()

# The registry's entries: separated by line breaks or commas, optionally quoted,
# each beginning with "\". The names are ASCII, so the code page does not matter.
set(user_files)
if(EXISTS "${SOURCE}/files.fls")
  file(READ "${SOURCE}/files.fls" registry)
  string(REGEX REPLACE "[\r\n,]+" ";" entries "${registry}")
  set(index 0)
  foreach(entry IN LISTS entries)
    string(STRIP "${entry}" entry)
    if(entry STREQUAL "")
      continue()
    endif()
    if(index EQUAL 6 OR index EQUAL 7 OR index EQUAL 13)
      string(REGEX REPLACE "^\"|\"$" "" entry "${entry}")
      string(REPLACE "\\" "/" entry "${entry}")
      string(REGEX REPLACE "^/+" "" entry "${entry}")
      list(APPEND user_files "${entry}")
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
endif()

file(GLOB_RECURSE delivered RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(name IN LISTS delivered)
  set(target "${DESTINATION}/${name}")
  if(name IN_LIST user_files AND EXISTS "${target}")
    continue()
  endif()
  get_filename_component(folder "${target}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}/${name}" "${target}" ONLY_IF_DIFFERENT)
endforeach()
