# Every command, option, convert type and setting that granvel-cli's --help and `settings` list appears in
# its manual page and its bash completion, and every option of granvel --help in granvel's manual page.
#   cmake -DCLI=granvel-cli [-DDESKTOP=granvel] -DSOURCE_DIR=... -P help_in_manual.cmake
function(check_listed file words)
  file(READ "${file}" text)
  string(REGEX REPLACE "\\\\-" "-" text "${text}")  # roff's minus signs and font changes
  string(REGEX REPLACE "\\\\f[BIRP]" " " text "${text}")
  foreach(word IN LISTS words)
    if(NOT text MATCHES "(^|[^A-Za-z0-9_-])${word}([^A-Za-z0-9_-]|$)")
      message(SEND_ERROR "${file} does not name ${word}")
    endif()
  endforeach()
endfunction()

# The options a --help names ("-o,--output", "--save") in `out`, and the text in `out`_text.
function(help_options out)
  execute_process(COMMAND ${ARGN} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[ ,]--?[a-z][a-z-]*" options "${help}")
  list(TRANSFORM options REPLACE "^[ ,]" "")
  set(${out} ${options} PARENT_SCOPE)
  set(${out}_text "${help}" PARENT_SCOPE)
endfunction()

help_options(words "${CLI}")
string(REGEX MATCHALL "\n  [a-z]+ " commands "${words_text}")
list(TRANSFORM commands STRIP)
foreach(command IN LISTS commands)
  help_options(options "${CLI}" ${command})
  list(APPEND words ${command} ${options})
  if(options_text MATCHES "becomes:([ a-z0-9]+) \\(")  # the convert types
    string(REPLACE " " ";" types "${CMAKE_MATCH_1}")
    list(APPEND words ${types})
  endif()
endforeach()
execute_process(COMMAND "${CLI}" settings --ini /dev/null OUTPUT_VARIABLE settings COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "\n[A-Za-z_0-9]+=" keys "\n${settings}")
list(TRANSFORM keys REPLACE "[\n=]" "")
list(APPEND words ${keys})
list(LENGTH words count)
if(count LESS 60)  # the help's layout changed, and the names above are not all read
  message(FATAL_ERROR "only ${count} names read from granvel-cli's help: ${words}")
endif()
check_listed(${SOURCE_DIR}/docs/man/granvel-cli.1 "${words}")
check_listed(${SOURCE_DIR}/packaging/linux/granvel-cli.bash "${words}")
if(DESKTOP)
  help_options(desktop "${DESKTOP}")
  check_listed(${SOURCE_DIR}/docs/man/granvel.1 "${desktop}")
endif()
