# SPDX-License-Identifier: BSD-2-Clause
# Writes one manual page with help2man from a program's --help and --version.
# For a program with commands, each command's --help becomes a section of its
# own, so the page holds everything the program can tell about itself.
#
# cmake -DHELP2MAN=... -DPROGRAM=... -DNAME=... -DINCLUDE=... [-DCOMMANDS=a;b] -DOUTPUT=page.1 -P man_page.cmake
# writes page.1.gz.

set(generated "${OUTPUT}.h2m")
file(READ "${INCLUDE}" sections)
if(COMMANDS)
  string(APPEND sections "\n[COMMANDS]\n")
  foreach(command IN LISTS COMMANDS)
    execute_process(COMMAND "${PROGRAM}" ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${PROGRAM} ${command} --help failed (${status})")
    endif()
    # Plain text in roff: a backslash is \e, and a line may not start with a control character.
    string(REPLACE "\\" "\\e" help "${help}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
    get_filename_component(program_name "${PROGRAM}" NAME)
    # At the left margin, not indented: the help's lines are up to 80 columns
    # already, and a wider page would not fit a terminal of 80.
    string(APPEND sections ".SS \"${program_name} ${command}\"\n.nf\n.in 0\n${help}.fi\n")
  endforeach()
endif()
file(WRITE "${generated}" "${sections}")

execute_process(
  COMMAND "${HELP2MAN}" --no-info --no-discard-stderr "--name=${NAME}" "--include=${generated}"
          "--output=${OUTPUT}" "${PROGRAM}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man could not write ${OUTPUT} (${status})")
endif()
# Installed compressed, as manual pages are on Debian; -n keeps the build reproducible.
execute_process(COMMAND gzip -9nf "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${OUTPUT} (${status})")
endif()
