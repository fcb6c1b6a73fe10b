# Runs COMMAND (arguments separated by '|') and fails unless it exits with EXIT_CODE and, when given, its standard
# output matches OUTPUT_REGEX and its standard error matches ERROR_REGEX.
string(REPLACE "|" ";" COMMAND "${COMMAND}")
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code EQUAL EXIT_CODE)
    message(FATAL_ERROR "exit code ${code}, expected ${EXIT_CODE}\nstdout: ${out}\nstderr: ${err}")
endif()
if(DEFINED OUTPUT_REGEX AND NOT out MATCHES "${OUTPUT_REGEX}")
    message(FATAL_ERROR "stdout does not match ${OUTPUT_REGEX}:\n${out}")
endif()
if(DEFINED ERROR_REGEX AND NOT err MATCHES "${ERROR_REGEX}")
    message(FATAL_ERROR "stderr does not match ${ERROR_REGEX}:\n${err}")
endif()
