# Installs the build into a scratch prefix and checks what the desktop needs:
# the program, its menu entry, the .vld type and the icons.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file bin/watchkeep share/applications/watchkeep.desktop share/mime/packages/watchkeep-vld.xml
             share/icons/hicolor/scalable/apps/watchkeep.svg share/icons/hicolor/16x16/apps/watchkeep.png
             share/icons/hicolor/32x32/apps/watchkeep.png share/icons/hicolor/48x48/apps/watchkeep.png
             share/icons/hicolor/256x256/apps/watchkeep.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

file(READ "${PREFIX}/share/applications/watchkeep.desktop" desktop)
foreach(line "Exec=watchkeep %f" "MimeType=application/x-gz4410-vld;" "Icon=watchkeep" "Name=Watchkeep Configurator")
  string(FIND "${desktop}" "${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "watchkeep.desktop lacks: ${line}")
  endif()
endforeach()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} "${PREFIX}/share/applications/watchkeep.desktop"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()

# Where the MIME database tool is there, the install ran it: *.vld is ours.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  file(READ "${PREFIX}/share/mime/globs2" globs)
  string(FIND "${globs}" ":application/x-gz4410-vld:*.vld" at)
  if(at LESS 0)
    message(FATAL_ERROR "the MIME database does not map *.vld: ${globs}")
  endif()
  file(READ "${PREFIX}/share/mime/application/x-gz4410-vld.xml" type)
  string(FIND "${type}" "<comment>4410.Document</comment>" at)
  if(at LESS 0)
    message(FATAL_ERROR "the .vld type lacks its name: ${type}")
  endif()
endif()
