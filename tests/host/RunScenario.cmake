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
execute_process(COMMAND ${GRTOOL} play ${PROJECT} ${SCRIPT} RESULT_VARIABLE played)
if(NOT played EQUAL 0)
  message(FATAL_ERROR "grtool play ${SCRIPT} failed (${played})")
endif()
if(REOPENED)
  execute_process(COMMAND ${GRTOOL} play ${PROJECT} ${REOPENED} RESULT_VARIABLE replayed)
  if(NOT replayed EQUAL 0)
    message(FATAL_ERROR "grtool play ${REOPENED} failed (${replayed})")
  endif()
endif()
