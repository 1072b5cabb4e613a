# The include rules of the house, run as the test "layers":
#
#   cmake -DSOURCE_DIR=<project> [-DQT_HEADERS=<Qt's include folder>] -P check_layers.cmake
#
# - src/core (and tests/core) include nothing of src/gui and no header of
#   Qt Widgets or Qt PrintSupport;
# - a folder includes only its own side's folders ranked at or below it,
#   or the core's: framework < data < masterdata < orders < plantlink
#   < shipments < reports < console < app.  The framework includes only the
#   framework; nothing includes app (the composition root) but main.cpp.
# With one rank per folder no two folders can include each other.
set(ranks framework data masterdata orders plantlink shipments reports console app)

set(widget_headers "")
if(QT_HEADERS)
  foreach(module QtWidgets QtPrintSupport)
    file(GLOB names RELATIVE ${QT_HEADERS}/${module} ${QT_HEADERS}/${module}/*)
    list(APPEND widget_headers ${names})
  endforeach()
endif()

set(faults "")
file(GLOB_RECURSE files ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
  ${SOURCE_DIR}/tests/core/*.h ${SOURCE_DIR}/tests/core/*.cpp)
foreach(file IN LISTS files)
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
  set(folder "")
  set(from_rank 99)
  if(rel MATCHES "^src/(core|gui)/([^/]+)/")
    set(side ${CMAKE_MATCH_1})
    set(folder ${CMAKE_MATCH_2})
    list(FIND ranks ${folder} from_rank)
    if(from_rank LESS 0)
      list(APPEND faults "${rel}: the folder ${side}/${folder} has no place in the layers")
      continue()
    endif()
  elseif(rel MATCHES "^tests/core/")
    set(side core)
  elseif(rel MATCHES "^src/main.cpp$")
    set(side main)
  else()
    list(APPEND faults "${rel}: outside src/core and src/gui")
    continue()
  endif()

  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"((core|gui)/([^/]+)/[^\"]+)\"")
      set(to ${CMAKE_MATCH_1})
      set(to_side ${CMAKE_MATCH_2})
      set(to_folder ${CMAKE_MATCH_3})
      list(FIND ranks ${to_folder} to_rank)
      if(side STREQUAL "core" AND to_side STREQUAL "gui")
        list(APPEND faults "${rel}: the core includes the gui's ${to}")
      elseif(to_folder STREQUAL "app" AND NOT side STREQUAL "main" AND NOT folder STREQUAL "app")
        list(APPEND faults "${rel}: includes the composition root ${to}")
      elseif(folder AND to_rank GREATER from_rank)
        list(APPEND faults "${rel}: ${side}/${folder} includes ${to} from a folder above it")
      elseif(folder STREQUAL "framework" AND NOT to_folder STREQUAL "framework")
        list(APPEND faults "${rel}: the framework includes the program's ${to}")
      endif()
    elseif(side STREQUAL "core" AND line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(header ${CMAKE_MATCH_1})
      if(header MATCHES "^(QtWidgets|QtPrintSupport)(/|$)")
        list(APPEND faults "${rel}: the core includes <${header}>")
      else()
        list(FIND widget_headers ${header} found)
        if(found GREATER -1)
          list(APPEND faults "${rel}: the core includes <${header}> of Qt Widgets or PrintSupport")
        endif()
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes against the layers:\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "layers: ${count} files, every include points downwards")
