# A project folder that carries libraries of its own: neither a library the
# model names nor a behaviour library placed there is ever loaded.
file(REMOVE_RECURSE ${PROJECT})
execute_process(COMMAND ${GRTOOL} new ${PROJECT} RESULT_VARIABLE created)
if(NOT created EQUAL 0)
  message(FATAL_ERROR "grtool new ${PROJECT} failed (${created})")
endif()
configure_file(${LIBRARY} ${PROJECT}/libintruder.so COPYONLY)
configure_file(${LIBRARY} ${PROJECT}/libmain.so COPYONLY)

# The library's own calls by name go to the runtime folder's libmain.so.
file(WRITE ${PROJECT}-main.grs
     "transform \"void_entry\"\nexpect message \"Probably, Function not found \\n\\\"_L0_Func_void_entry\\\".\"\n")
execute_process(COMMAND ${GRTOOL} play ${PROJECT} ${PROJECT}-main.grs
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE played)
if(NOT played EQUAL 0 OR out MATCHES "void entry ran")
  message(FATAL_ERROR "the project's libmain.so was called:\n${out}\n${err}")
endif()

# A handler naming a library finds none in the project folder.
file(WRITE ${PROJECT}-named.grs "run \"intruder#void_entry\"\n")
execute_process(COMMAND ${GRTOOL} play ${PROJECT} ${PROJECT}-named.grs
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE played)
if(played EQUAL 0 OR out MATCHES "void entry ran")
  message(FATAL_ERROR "the project's libintruder.so was loaded:\n${out}\n${err}")
endif()
if(NOT "${out}${err}" MATCHES "libintruder.so is in none of the library folders")
  message(FATAL_ERROR "no reason given for the refusal:\n${out}\n${err}")
endif()
