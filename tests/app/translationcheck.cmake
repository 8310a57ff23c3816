# Every text of the pages, the canvas, the core and the built-in levels has a finished Hungarian
# translation: lupdate run on a copy of the catalogue adds any text that has none as unfinished. The level
# files' texts reach lupdate through pellwick-level texts.
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/translations/harbour-pellwick-hu.ts DESTINATION ${WORK})
file(GLOB levels ${SOURCE}/src/core/levels/*.level)
execute_process(COMMAND ${LEVEL_TOOL} texts ${levels} OUTPUT_FILE ${WORK}/leveltexts.cpp RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "pellwick-level texts failed (${status})")
endif()
execute_process(COMMAND ${LUPDATE} -locations none ${SOURCE}/qml ${SOURCE}/src/canvas ${SOURCE}/src/core
                        ${WORK}/leveltexts.cpp -ts ${WORK}/harbour-pellwick-hu.ts
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status})")
endif()
file(STRINGS ${WORK}/harbour-pellwick-hu.ts unfinished REGEX "type=\"unfinished\"")
list(LENGTH unfinished count)
if(count GREATER 0)
    message(FATAL_ERROR "${count} texts have no finished Hungarian translation")
endif()
