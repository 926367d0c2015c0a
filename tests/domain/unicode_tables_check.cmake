# Regenerates the Unicode tables from the database and fails when they differ
# from the committed ones.
execute_process(COMMAND ${PYTHON} ${SOURCE}/scripts/gen_unicode_tables.py ${UCD} ${OUT}
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "scripts/gen_unicode_tables.py failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}
                        ${SOURCE}/domain/unicode_tables.inc RESULT_VARIABLE differ)
if(differ)
    message(FATAL_ERROR "domain/unicode_tables.inc is not what scripts/gen_unicode_tables.py "
                        "makes of ${UCD}: run the script and commit the result")
endif()
