# Layers the compiler enforces: each layer's headers are reachable only through its own staged
# include folder, which holds a link to the layer's source folder and nothing else. A target sees
# the folders of the layers it links, so an include that runs upward does not build.
#
#   base/ -> platform/ -> convert/format/ -> convert/text/ -> convert/track/ -> convert/stream/
#         -> convert/ (the door) -> run/ -> app/ -> app/win32/, app/qt/
#   platform/ -> settings/ -> app/
#   run/ -> cli/
#
# convert/ and app/ expose only the headers directly in them, not the folders of the layers
# below or beside them; the command line stands on run/ and never sees a window's code.

# Our own code: every warning, and warnings as errors where the preset asks for them.
function(log2plt_own_code target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Wcast-qual -Wformat=2 -Wnull-dereference -Wold-style-cast)
  set_target_properties(${target} PROPERTIES COMPILE_WARNING_AS_ERROR ${LOG2PLT_WARNINGS_AS_ERRORS})
endfunction()

# A static library for one layer; `folder` is the source folder below the project root, reached
# in includes as "folder/name.h".
function(log2plt_layer target folder)
  set(staged ${CMAKE_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${staged}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${staged}/${folder} SYMBOLIC)
  add_library(${target} STATIC)
  target_include_directories(${target} PUBLIC ${staged})
  log2plt_own_code(${target})
endfunction()

# A layer whose folder holds the folders of other layers: only the headers directly in `folder`
# are staged.
function(log2plt_layer_headers target folder)
  set(staged ${CMAKE_BINARY_DIR}/layers/${target}/${folder})
  file(REMOVE_RECURSE ${staged})
  file(MAKE_DIRECTORY ${staged})
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/${folder}
    ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  foreach(header IN LISTS headers)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder}/${header} ${staged}/${header} SYMBOLIC)
  endforeach()
  add_library(${target} STATIC)
  target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR}/layers/${target})
  log2plt_own_code(${target})
endfunction()
