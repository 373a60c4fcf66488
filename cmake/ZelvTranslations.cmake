# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# zelv_add_translations(<target> TS_FILES <files...> [SOURCES <files...>])
# Compiles the Qt Linguist catalogues (<catalogue>_<language>.ts) at build
# time and embeds them in <target> as ":/i18n/<catalogue>_<language>.qm",
# where zelv::ProgramTranslations finds them. German is the source language
# of every text. `cmake --build <dir> --target update_translations` refreshes
# the .ts files from the sources (without line numbers, so that moving code
# leaves them unchanged).
function(zelv_add_translations target)
  cmake_parse_arguments(ARG "" "" "TS_FILES;SOURCES" ${ARGN})
  set(sources_option)
  if(ARG_SOURCES)
    set(sources_option SOURCES ${ARG_SOURCES})
  endif()
  qt_add_translations(${target}
    TS_FILES ${ARG_TS_FILES}
    ${sources_option}
    RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -source-language de -locations none -no-obsolete
    LRELEASE_OPTIONS -silent)
endfunction()
