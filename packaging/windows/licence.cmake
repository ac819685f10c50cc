# The licence the installer shows: the text of the "Лицензия" window, read from its form
# and unescaped as XML, written as NSIS takes a text file: UTF-8 with a byte order mark
# and Windows line ends. The build includes it; the installer's test runs it as a script,
# so that both read the form alike:
#   cmake -DFORM=ui/windows/tform4.ui -DOUT=licence.txt -P packaging/windows/licence.cmake
function(zaryaj_write_licence form out)
    file(READ ${form} text)
    if(NOT text MATCHES "<property name=\"plainText\">[ \n]*<string>([^<]*)</string>")
        message(FATAL_ERROR "no licence text in ${form}")
    endif()
    set(licence "${CMAKE_MATCH_1}")
    # uic writes every other character as it is.
    if(licence MATCHES "&#")
        message(FATAL_ERROR "a character reference in the licence of ${form}: write the character")
    endif()
    # One by one: an entity's own ";" would split a list of them. "&amp;" last, so that
    # "&amp;lt;" stays "&lt;".
    string(REPLACE "&lt;" "<" licence "${licence}")
    string(REPLACE "&gt;" ">" licence "${licence}")
    string(REPLACE "&quot;" "\"" licence "${licence}")
    string(REPLACE "&apos;" "'" licence "${licence}")
    string(REPLACE "&amp;" "&" licence "${licence}")
    string(REPLACE "\n" "\r\n" licence "${licence}")
    string(ASCII 239 187 191 bom)
    file(WRITE ${out} "${bom}${licence}\r\n")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    zaryaj_write_licence(${FORM} ${OUT})
endif()
