# Creates a fresh project named "Demo" with grtool and plays SCRIPT on it;
# then REOPENED, when given, by a second grtool play (the project reopened).
file(REMOVE_RECURSE ${PROJECT})
execute_process(COMMAND ${GRTOOL} new ${PROJECT} --name Demo RESULT_VARIABLE created)
if(NOT created EQUAL 0)
  message(FATAL_ERROR "grtool new ${PROJECT} failed (${created})")
endif()
# The start-up's commands made a diagram current.
execute_process(COMMAND ${GRTOOL} dump ${PROJECT} --class CurrentDgrPointer --json
                OUTPUT_VARIABLE pointer RESULT_VARIABLE dumped)
if(NOT dumped EQUAL 0 OR NOT pointer MATCHES "\"links\":{\"graphDiagram\":\[[0-9]+\]}")
  message(FATAL_ERROR "no current diagram after grtool new: ${pointer}")
endif()
execute_process(COMMAND ${GRTOOL} play ${PROJECT} ${SCRIPT} RESULT_VARIABLE played
                OUTPUT_VARIABLE shown ECHO_OUTPUT_VARIABLE)
if(NOT played EQUAL 0)
  message(FATAL_ERROR "grtool play ${SCRIPT} failed (${played})")
endif()
# A runtime error report is a fault of the library, whatever a script expects.
if(shown MATCHES "(^|\n)\\[error\\] ([^\n]*)")
  message(FATAL_ERROR "grtool play ${SCRIPT} reported a runtime error: ${CMAKE_MATCH_2}")
endif()
if(REOPENED)
  execute_process(COMMAND ${GRTOOL} play ${PROJECT} ${REOPENED} RESULT_VARIABLE replayed
                  OUTPUT_VARIABLE reshown ECHO_OUTPUT_VARIABLE)
  if(NOT replayed EQUAL 0)
    message(FATAL_ERROR "grtool play ${REOPENED} failed (${replayed})")
  endif()
  if(reshown MATCHES "(^|\n)\\[error\\] ([^\n]*)")
    message(FATAL_ERROR "grtool play ${REOPENED} reported a runtime error: ${CMAKE_MATCH_2}")
  endif()
endif()
# Whatever the scenario deleted took along what it owned.
execute_process(COMMAND ${GRTOOL} check ${PROJECT} OUTPUT_VARIABLE orphans RESULT_VARIABLE checked)
if(NOT checked EQUAL 0)
  message(FATAL_ERROR "grtool check ${PROJECT} found parts without owner:\n${orphans}")
endif()
