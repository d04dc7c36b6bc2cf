# jotlings_picture(SOURCE.txt OUTPUT_NAME): makes OUTPUT_NAME (a .bmp or .ico)
# in the current binary folder from a text picture at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
function(jotlings_picture source output)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${output})
  add_custom_command(OUTPUT ${out}
                     COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/picture.py
                             ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${out}
                     DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${PROJECT_SOURCE_DIR}/cmake/picture.py
                     VERBATIM)
endfunction()
