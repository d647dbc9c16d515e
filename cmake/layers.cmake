# One-way layers. Each library compiles against an include root of its own that holds only the
# source folders it may use, so an include of a higher layer does not compile: the compiler, not
# a convention, keeps platform <- scan <- clean <- ui <- programs.
function(quellspur_layer target)
  set(root "${CMAKE_BINARY_DIR}/layers/${target}")
  file(REMOVE_RECURSE "${root}")
  file(MAKE_DIRECTORY "${root}")
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${root}/${folder}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
