# The console program, built with the console SDK's toolchain file
# ($DEVKITPRO/cmake/3DS.cmake), which links libctru and its headers by default.
# It is the game alone: main is the game's loop against the real <3ds.h>, with no
# desktop model, command line or files. It comes two ways:
# - quorvandelle.3dsx, which a player copies to the SD card for the Homebrew Launcher;
# - quorvandelle.cia, a title a player installs on the HOME menu, with its banner and
#   tune, when makerom and bannertool are there (on PATH or in $DEVKITPRO/tools/bin).
add_executable(quorvandelle app/main_console.cpp)
target_link_libraries(quorvandelle PRIVATE quorvandelle_game)

# What the HOME menu and the Homebrew Launcher show; the other languages get the English.
set(consoleShortTitle "Quorvandelle")
set(consoleLongTitle "Run a hamster breeding farm for twelve months")
set(consolePublisher "The Quorvandelle developers")
set(consoleFrenchLongTitle "Dirigez un élevage de hamsters pendant douze mois")
set(consoleFrenchPublisher "Les développeurs de Quorvandelle")
set(consoleIcon ${PROJECT_SOURCE_DIR}/app/icon.png)
set(consoleRsf ${PROJECT_SOURCE_DIR}/packaging/console/quorvandelle.rsf)

set(consoleTools $ENV{DEVKITPRO}/tools/bin)
find_program(BANNERTOOL bannertool HINTS ${consoleTools} NO_CMAKE_FIND_ROOT_PATH)
find_program(MAKEROM makerom HINTS ${consoleTools} NO_CMAKE_FIND_ROOT_PATH)
find_package(Python3 COMPONENTS Interpreter)

set(smdh ${CMAKE_CURRENT_BINARY_DIR}/quorvandelle.smdh)
if(BANNERTOOL)
  add_custom_command(OUTPUT ${smdh}
    COMMAND ${BANNERTOOL} makesmdh -i ${consoleIcon} -o ${smdh}
      -s ${consoleShortTitle} -l ${consoleLongTitle} -p ${consolePublisher}
      -fs ${consoleShortTitle} -fl ${consoleFrenchLongTitle} -fp ${consoleFrenchPublisher}
    DEPENDS ${consoleIcon} VERBATIM)
  set(consoleFrench ON)
else()
  # smdhtool gives every language the one English title.
  ctr_generate_smdh(${smdh} NAME ${consoleShortTitle} DESCRIPTION ${consoleLongTitle}
    AUTHOR ${consolePublisher} ICON ${consoleIcon})
  set(consoleFrench OFF)
endif()
ctr_create_3dsx(quorvandelle SMDH ${smdh})

if(BANNERTOOL AND MAKEROM AND Python3_FOUND)
  set(banner ${CMAKE_CURRENT_BINARY_DIR}/banner)
  add_custom_command(OUTPUT ${banner}.png ${banner}.wav
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/draw-banner.py
      ${PROJECT_SOURCE_DIR}/gfx/font.cpp ${banner}.png
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make-tune.py ${banner}.wav
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/draw-banner.py ${PROJECT_SOURCE_DIR}/scripts/draw-icon.py
      ${PROJECT_SOURCE_DIR}/scripts/make-tune.py ${PROJECT_SOURCE_DIR}/gfx/font.cpp VERBATIM)
  add_custom_command(OUTPUT ${banner}.bnr
    COMMAND ${BANNERTOOL} makebanner -i ${banner}.png -a ${banner}.wav -o ${banner}.bnr
    DEPENDS ${banner}.png ${banner}.wav VERBATIM)
  # makerom takes the major number from the RSF unless all three are given.
  set(cia ${CMAKE_CURRENT_BINARY_DIR}/quorvandelle.cia)
  add_custom_command(OUTPUT ${cia}
    COMMAND ${MAKEROM} -f cia -o ${cia} -target t -exefslogo -elf $<TARGET_FILE:quorvandelle>
      -rsf ${consoleRsf} -icon ${smdh} -banner ${banner}.bnr
      -major ${PROJECT_VERSION_MAJOR} -minor ${PROJECT_VERSION_MINOR} -micro ${PROJECT_VERSION_PATCH}
    DEPENDS quorvandelle ${consoleRsf} ${smdh} ${banner}.bnr VERBATIM)
  add_custom_target(quorvandelle_cia ALL DEPENDS ${cia})
else()
  message(STATUS "No quorvandelle.cia: it needs makerom and bannertool (on PATH or in "
                 "$DEVKITPRO/tools/bin) and python3")
endif()

# What the console check (tests/console_check.py) reads the built files against.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/console-titles.txt
  "version=${PROJECT_VERSION}\nshort=${consoleShortTitle}\nlong=${consoleLongTitle}\n"
  "publisher=${consolePublisher}\nfrench=${consoleFrench}\nfrenchLong=${consoleFrenchLongTitle}\n"
  "frenchPublisher=${consoleFrenchPublisher}\nrsf=${consoleRsf}\n")
