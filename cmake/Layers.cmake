# The program's layers, one static library each. A layer links only layers below it, in this
# order (tools/check_layers.py holds the same order and checks every include and link against
# it):
#
#   platform -> window (Windows only) -> localisation -> record -> timezones
#            -> skin -> pages -> app;  cli beside app, on platform, localisation and record.
#
# Each layer keeps its portable half in its folder and its Win32 half in a win32/ subfolder;
# the Win32 half joins the layer's library only when building for Windows.

# dcs_add_layer(<layer> [BELOW <layers it links>...]): the library dcs_<layer>.
function(dcs_add_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "BELOW")
  add_library(dcs_${layer} STATIC)
  target_include_directories(dcs_${layer} PUBLIC ${PROJECT_SOURCE_DIR})
  foreach(below IN LISTS LAYER_BELOW)
    target_link_libraries(dcs_${layer} PUBLIC dcs_${below})
  endforeach()
  dcs_apply_options(dcs_${layer})
endfunction()
