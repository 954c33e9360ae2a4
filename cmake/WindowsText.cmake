# Writes a text for the Windows folder with CR LF line ends: the file IN as it
# is, or, with ROFF set, the manual page IN rendered as plain text by groff.
# Usage: cmake -DIN=... -DOUT=... [-DROFF=groff] -P WindowsText.cmake
if(ROFF)
  execute_process(COMMAND ${ROFF} -man -Tascii -P-cbou ${IN}
                  OUTPUT_VARIABLE text RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR errors)
    message(FATAL_ERROR "${ROFF} could not render ${IN}: ${errors}")
  endif()
else()
  file(READ ${IN} text)
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
