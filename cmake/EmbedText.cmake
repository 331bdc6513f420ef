# Embeds a text file in the program as a C++ string constant, so a script the
# engine runs can live in its own file and still ship inside the binary.
#   cmake -DSOURCE=FILE -DOUTPUT=FILE.cpp -DHEADER=DIR/NAME.hpp -DNAMESPACE=NS
#         -DSYMBOL=kName -P EmbedText.cmake
# HEADER declares `extern const char* const SYMBOL;` in NAMESPACE. The text
# goes in a raw string literal; a file holding the literal's closing
# sequence would end it early, so such a file fails the build instead.
foreach(arg SOURCE OUTPUT HEADER NAMESPACE SYMBOL)
  if(NOT DEFINED ${arg})
    message(FATAL_ERROR "EmbedText.cmake: -D${arg}=... is missing")
  endif()
endforeach()

set(delimiter "nj_text")
file(READ "${SOURCE}" text)
string(FIND "${text}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${SOURCE} holds ')${delimiter}\"', which would end the raw string "
                      "it is embedded in: split that sequence in the file")
endif()

set(code "// Generated from ${SOURCE} by EmbedText.cmake: edit that file, not this one.\n")
string(APPEND code "#include \"${HEADER}\"\n\n")
string(APPEND code "namespace ${NAMESPACE} {\n\n")
string(APPEND code "const char* const ${SYMBOL} = R\"${delimiter}(${text})${delimiter}\";\n\n")
string(APPEND code "}  // namespace ${NAMESPACE}\n")
file(WRITE "${OUTPUT}" "${code}")
