# The Debian package: cpack -G DEB builds it, and it holds the programs, the
# data, the desktop entry, the MIME type and the icons under /usr, depends on
# the Qt libraries and the platform plugins, and holds nothing of the tests.
#   cmake -DCPACK=... -DBUILD_DIR=... -DWORK_DIR=... -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

find_program(DPKG_DEB dpkg-deb)
if(NOT DPKG_DEB)
  message("SKIPPED: dpkg-deb is missing, so no Debian package can be built or read here")
  return()
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND ${CPACK} -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB packages "${WORK_DIR}/*.deb")
list(LENGTH packages count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack -G DEB made no package:\n${out}")
endif()

execute_process(COMMAND ${DPKG_DEB} --contents ${packages} OUTPUT_VARIABLE contents RESULT_VARIABLE rc)
foreach(f ./usr/bin/kabinor ./usr/bin/kabinor-cli ./usr/share/kabinor/files.fls ./usr/share/kabinor/MarksCu.dat
          ./usr/share/kabinor/Справка.html ./usr/share/applications/kabinor.desktop
          ./usr/share/mime/packages/kabinor.xml ./usr/share/icons/hicolor/scalable/apps/kabinor.svg
          ./usr/share/icons/hicolor/256x256/apps/kabinor.png)
  string(FIND "${contents}" " ${f}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "the package lacks ${f}:\n${contents}")
  endif()
endforeach()
if(contents MATCHES "tst_|kabinor_bench|kabinor\\.ini")
  message(FATAL_ERROR "the package holds test programs or a settings file:\n${contents}")
endif()

execute_process(COMMAND ${DPKG_DEB} --field ${packages} Package Version Depends OUTPUT_VARIABLE fields)
foreach(dep libqt6widgets6 libqt6network6 libqt6core6 qt6-qpa-plugins)
  if(NOT fields MATCHES "${dep}")
    message(FATAL_ERROR "the package does not depend on ${dep}:\n${fields}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")
