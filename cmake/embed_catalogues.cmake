# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUTPUT, a C++ source that builds in the catalogues msgfmt made: for
# each name of LANGUAGES, DIR/NAME.mo. Run with cmake -P.
set(entries "")
set(arrays "")
set(index 0)
foreach(language IN LISTS LANGUAGES)
  file(READ ${DIR}/${language}.mo hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "alignas(4) constexpr unsigned char k${index}[] = {\n    ${bytes}\n};\n")
  string(APPEND entries "    {\"${language}\", {reinterpret_cast<const char*>(k${index}), sizeof k${index}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  set(table "std::span<const BuiltInCatalogue> built_in_catalogues() { return {}; }\n")
else()
  set(table "const BuiltInCatalogue kCatalogues[] = {\n${entries}};\n\n} // namespace\n\n"
            "std::span<const BuiltInCatalogue> built_in_catalogues() { return kCatalogues; }\n")
  set(arrays "namespace {\n\n${arrays}\n")
endif()
file(WRITE ${OUTPUT}.new "// Made by the build from po/*.po: the translations built into the program.
#include \"session/texts.h\"

namespace guardianes {

${arrays}${table}
} // namespace guardianes
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
