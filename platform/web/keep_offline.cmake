# Writes SITE/sw.js (cmake -P, or included by lay_out_site.cmake) from
# PAGE/sw.js: the list of the files in SITE with their SHA-256, and a
# version made of them all, so a changed file makes a new version.
#   -DSITE -DPAGE
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM names sw.js)
list(SORT names)
set(list "")
set(all "")
foreach(name ${names})
  file(SHA256 ${SITE}/${name} sum)
  string(APPEND list "  '${name}': '${sum}',\n")
  string(APPEND all "${name} ${sum}\n")
endforeach()
string(SHA256 version "${all}")
string(SUBSTRING ${version} 0 16 version)
file(READ ${PAGE}/sw.js worker)
string(REPLACE "'@VERSION@'" "'${version}'" worker "${worker}")
string(REPLACE "'@FILES@'" "{\n${list}}" worker "${worker}")
file(WRITE ${SITE}/sw.js "${worker}")
