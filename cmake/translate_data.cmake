# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUTPUT: TEMPLATE, a desktop entry (KIND desktop) or an AppStream
# metainfo file (KIND xml), with the translations of every language of
# LANGUAGES from PO_DIR/LANGUAGE.po, added by msgfmt in one go: it reads the
# languages from a LINGUAS file beside their PO files. Run with cmake -P.
set(po ${WORK}/po)
file(REMOVE_RECURSE ${po})
file(MAKE_DIRECTORY ${po})
string(REPLACE ";" "\n" linguas "${LANGUAGES}")
file(WRITE ${po}/LINGUAS "${linguas}\n")
foreach(language IN LISTS LANGUAGES)
  file(COPY ${PO_DIR}/${language}.po DESTINATION ${po})
endforeach()
get_filename_component(name ${OUTPUT} NAME)
execute_process(COMMAND ${MSGFMT} --${KIND} --template=${TEMPLATE} -d ${po} --output-file=${OUTPUT}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "msgfmt could not translate ${name}")
endif()
