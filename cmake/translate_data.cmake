# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUTPUT: TEMPLATE, a desktop entry (KIND desktop) or an AppStream
# metainfo file (KIND xml), with the translations of every language of
# LANGUAGES from PO_DIR/LANGUAGE.po, added one language at a time by
# msgfmt. Run with cmake -P.
get_filename_component(name ${OUTPUT} NAME)
set(current ${TEMPLATE})
foreach(language IN LISTS LANGUAGES)
  # msgfmt knows a metainfo file by its name, so each step keeps it.
  set(step ${WORK}/${language}/${name})
  file(MAKE_DIRECTORY ${WORK}/${language})
  execute_process(COMMAND ${MSGFMT} --${KIND} --template=${current} --locale=${language} --output-file=${step}
                          ${PO_DIR}/${language}.po
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "msgfmt could not add the ${language} translation to ${name}")
  endif()
  set(current ${step})
endforeach()
file(COPY_FILE ${current} ${OUTPUT})
