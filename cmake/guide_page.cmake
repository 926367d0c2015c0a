# Turns a Markdown file into a page a browser shows on its own:
#   cmake -DMARKDOWN=<cmark-gfm> -DIN=<file.md> -DOUT=<file.html> -P guide_page.cmake
# The title is the first "# " heading. Raw HTML in the Markdown is left out
# (cmark-gfm's default), so the page holds only what Markdown describes.
execute_process(COMMAND "${MARKDOWN}" --extension table --extension autolink --to html "${IN}"
    OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${MARKDOWN} could not convert ${IN}")
endif()
file(STRINGS "${IN}" heading REGEX "^# " LIMIT_COUNT 1 ENCODING UTF-8)
string(REGEX REPLACE "^# +" "" title "${heading}")
string(REPLACE "&" "&amp;" title "${title}")
string(REPLACE "<" "&lt;" title "${title}")
string(REPLACE ">" "&gt;" title "${title}")
file(WRITE "${OUT}.part" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${title}</title>
<style>
body { max-width: 46em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.5; }
code, pre { font-family: monospace; background: #f3f3f3; }
pre { padding: 0.5em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 0.2em 0.5em; }
</style>
</head>
<body>
${body}</body>
</html>
")
file(RENAME "${OUT}.part" "${OUT}")
