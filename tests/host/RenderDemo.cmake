# Plays SCRIPT on a new project, renders every diagram into a folder and
# checks the pictures: one SVG document per diagram, the type diagram's eight
# lines and the style line of its extra box style, and its names drawn, the values written through the generated
# dialogs drawn on the elements of the defined tool, and a second rendering
# identical to the first (the layout written by the first one holds).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}): ${output}${errors}")
  endif()
endfunction()

file(REMOVE_RECURSE ${PROJECT} ${PICTURES} ${PICTURES}-again)
run(${GRTOOL} new ${PROJECT} --name Demo)
run(${GRTOOL} play ${PROJECT} ${SCRIPT})
run(${GRTOOL} render ${PROJECT} --dir ${PICTURES})

file(GLOB pictures RELATIVE ${PICTURES} ${PICTURES}/*.svg)
list(SORT pictures)
set(expected "Demo.svg;Liepāja.svg;Rīga.svg;Specification_Diagram.svg;Uzņēmums.svg")
if(NOT pictures STREQUAL expected)
  message(FATAL_ERROR "pictures: ${pictures}, expected ${expected}")
endif()
foreach(picture ${pictures})
  file(READ ${PICTURES}/${picture} svg)
  if(NOT svg MATCHES "^<\\?xml" OR NOT svg MATCHES "</svg>\n$")
    message(FATAL_ERROR "${picture} is no SVG document")
  endif()
endforeach()
file(READ ${PICTURES}/Uzņēmums.svg types)
string(REGEX MATCHALL "class=\"element edge\"" lines "${types}")
list(LENGTH lines count)
if(NOT count EQUAL 9)
  message(FATAL_ERROR "the type diagram shows ${count} lines, not 9")
endif()
if(NOT types MATCHES ">Nodaļa</text>")
  message(FATAL_ERROR "the type diagram does not show the name Nodaļa")
endif()
file(READ ${PICTURES}/Rīga.svg riga)
# The tool's looks: persons green and rounded with bold names, the
# joint-stock company in its own gold style, "Strādā" dashed with an arrow.
foreach(look "class=\"shape rounded-rectangle\"[^>]* fill=\"#CCFFCC\""
        "class=\"shape rectangle\"[^>]* fill=\"#FFFF99\"[^>]* stroke-width=\"2\""
        "class=\"shape ellipse\"" "stroke-dasharray=\"6 3\"" "class=\"end end-end open-arrow\""
        "class=\"end end-end hollow-triangle\"" "font-weight=\"bold\"[^>]*>Anna Bērziņa<")
  if(NOT riga MATCHES "${look}")
    message(FATAL_ERROR "the diagram Rīga does not show ${look}")
  endif()
endforeach()
foreach(text "SIA Koks" "Anna Bērziņa" "anna@koks.lv" "\\+371 2000 0000" "Jaunais tilts" "vadītāja"
        "Līgums līdz")
  if(NOT riga MATCHES ">${text}</text>")
    message(FATAL_ERROR "the diagram Rīga does not show \"${text}\"")
  endif()
endforeach()

run(${GRTOOL} render ${PROJECT} --dir ${PICTURES}-again)
foreach(picture ${pictures})
  file(READ ${PICTURES}/${picture} first)
  file(READ ${PICTURES}-again/${picture} second)
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "${picture} changed when rendered again")
  endif()
endforeach()

run(${GRTOOL} render ${PROJECT} --diagram "Specification Diagram" -o ${PICTURES}/one.svg)
file(READ ${PICTURES}/one.svg one)
file(READ ${PICTURES}/Specification_Diagram.svg all)
if(NOT one STREQUAL all)
  message(FATAL_ERROR "--diagram renders otherwise than --dir")
endif()
