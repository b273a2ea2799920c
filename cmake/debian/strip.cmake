# Run by cpack on the staged files before it packs them: the program loses the sections Debian's
# own packages drop too (the compilers' .comment notes), as dh_strip does.
execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
                        "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_NORDA_PROGRAM}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "strip failed on ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_NORDA_PROGRAM}")
endif()
