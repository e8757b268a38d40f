# SPDX-License-Identifier: GPL-3.0-or-later
# Reads CHANGELOG.md, newest release first, and sets:
#   GUARDIANES_RELEASE_DATE        the newest release's date, YYYY-MM-DD
#   GUARDIANES_RELEASE_EPOCH       that day's midnight UTC, in seconds since 1970
#   GUARDIANES_METAINFO_RELEASES   the metainfo's <release> elements
#   GUARDIANES_DEBIAN_CHANGELOG    the package's changelog, signed by
#                                  @CPACK_DEBIAN_PACKAGE_MAINTAINER@, which
#                                  cpack fills in
# Every date comes from the file, never from the clock, so two builds of one
# revision make the same files.
set(changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})

# Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
function(guardianes_days_since_1970 year month day out)
  if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
    math(EXPR month "${month} + 9")
  else()
    math(EXPR month "${month} - 3")
  endif()
  math(EXPR era "${year} / 400")
  math(EXPR year_of_era "${year} - ${era} * 400")
  math(EXPR day_of_year "(153 * ${month} + 2) / 5 + ${day} - 1")
  math(EXPR days "${era} * 146097 + ${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100
                  + ${day_of_year} - 719468")
  set(${out} ${days} PARENT_SCOPE)
endfunction()

function(guardianes_changelog_error line_number message)
  message(FATAL_ERROR "CHANGELOG.md:${line_number}: ${message}")
endfunction()

file(READ ${changelog} text)
# Semicolons and brackets would upset the list of lines; they come back in
# the outputs.
string(ASCII 1 semicolon)
string(ASCII 2 open_bracket)
string(ASCII 3 close_bracket)
string(REPLACE ";" "${semicolon}" text "${text}")
string(REPLACE "[" "${open_bracket}" text "${text}")
string(REPLACE "]" "${close_bracket}" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
string(ASCII 4 end_of_file)
set(weekdays Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

# Moves the item read so far into the release's metainfo list.
macro(guardianes_end_item)
  if(NOT item STREQUAL "")
    string(REPLACE "&" "&amp;" item "${item}")
    string(REPLACE "<" "&lt;" item "${item}")
    string(REPLACE ">" "&gt;" item "${item}")
    string(APPEND items "          <li>${item}</li>\n")
    set(item "")
  endif()
endmacro()

set(GUARDIANES_METAINFO_RELEASES "")
set(GUARDIANES_DEBIAN_CHANGELOG "")
set(version "")
set(items "")      # the release's items so far, for the metainfo
set(debian "")     # and for the package's changelog
set(item "")
set(line_number 0)
foreach(line IN LISTS lines ITEMS "${end_of_file}")
  math(EXPR line_number "${line_number} + 1")
  if(line MATCHES "^- (.+)$" AND version)
    guardianes_end_item()
    set(item "${CMAKE_MATCH_1}")
    string(APPEND debian "  * ${CMAKE_MATCH_1}\n")
    continue()
  elseif(line MATCHES "^  +([^ ].*)$" AND NOT item STREQUAL "")
    string(APPEND item " ${CMAKE_MATCH_1}")
    string(APPEND debian "    ${CMAKE_MATCH_1}\n")
    continue()
  elseif(line STREQUAL "" OR (NOT version AND NOT line MATCHES "^## " AND NOT line STREQUAL end_of_file))
    continue()
  elseif(NOT line MATCHES "^## " AND NOT line STREQUAL end_of_file)
    guardianes_changelog_error(${line_number} "a release's lines are '- ' items, continued with two spaces")
  endif()

  # A heading, or the end: first close the release before it.
  if(version)
    guardianes_end_item()
    if(items STREQUAL "")
      guardianes_changelog_error(${line_number} "release ${version} lists no change")
    endif()
    string(APPEND GUARDIANES_METAINFO_RELEASES
           "    <release version=\"${version}\" date=\"${date}\">\n      <description>\n        <ul>\n"
           "${items}        </ul>\n      </description>\n    </release>\n")
    guardianes_days_since_1970(${year} ${month} ${day_number} days)
    math(EXPR weekday "(${days} + 4) % 7")
    list(GET weekdays ${weekday} weekday)
    math(EXPR month_index "${month} - 1")
    list(GET months ${month_index} month_name)
    string(APPEND GUARDIANES_DEBIAN_CHANGELOG "guardianes (${version}) unstable; urgency=medium\n\n${debian}\n"
           " -- @CPACK_DEBIAN_PACKAGE_MAINTAINER@  ${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000\n")
    if(NOT DEFINED GUARDIANES_RELEASE_DATE)
      set(GUARDIANES_RELEASE_DATE ${date})
      math(EXPR GUARDIANES_RELEASE_EPOCH "${days} * 86400")
    endif()
  endif()
  if(line STREQUAL end_of_file)
    break()
  endif()
  if(NOT line MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+) - (([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9]))$")
    guardianes_changelog_error(${line_number} "a release's heading reads '## VERSION - YYYY-MM-DD'")
  endif()
  if(version AND NOT CMAKE_MATCH_1 VERSION_LESS version)
    guardianes_changelog_error(${line_number} "release ${CMAKE_MATCH_1} comes after ${version}: newest first")
  endif()
  if(NOT version AND NOT CMAKE_MATCH_1 VERSION_EQUAL PROJECT_VERSION)
    guardianes_changelog_error(${line_number} "the newest release is ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}")
  endif()
  set(version ${CMAKE_MATCH_1})
  set(date ${CMAKE_MATCH_2})
  set(year ${CMAKE_MATCH_3})
  set(month ${CMAKE_MATCH_4})
  set(day ${CMAKE_MATCH_5})
  # No leading zeros: math() would read them as octal.
  string(REGEX REPLACE "^0" "" month ${month})
  string(REGEX REPLACE "^0" "" day_number ${day})
  if(month LESS 1 OR month GREATER 12 OR day_number LESS 1 OR day_number GREATER 31)
    guardianes_changelog_error(${line_number} "${date} is no date")
  endif()
  if(GUARDIANES_DEBIAN_CHANGELOG)
    string(APPEND GUARDIANES_DEBIAN_CHANGELOG "\n")
  endif()
  set(items "")
  set(debian "")
  set(item "")
endforeach()
if(NOT DEFINED GUARDIANES_RELEASE_DATE)
  message(FATAL_ERROR "CHANGELOG.md lists no release")
endif()
foreach(output GUARDIANES_METAINFO_RELEASES GUARDIANES_DEBIAN_CHANGELOG)
  string(REPLACE "${semicolon}" ";" ${output} "${${output}}")
  string(REPLACE "${open_bracket}" "[" ${output} "${${output}}")
  string(REPLACE "${close_bracket}" "]" ${output} "${${output}}")
endforeach()
