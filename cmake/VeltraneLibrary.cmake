# SPDX-License-Identifier: BSD-2-Clause
# A library of the project: its folder's headers for whoever links it, and
# our own warnings on its own sources only.
function(veltrane_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${VELTRANE_WARNINGS})
endfunction()
