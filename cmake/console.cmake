# The console program, built with the console SDK's toolchain file
# ($DEVKITPRO/cmake/3DS.cmake), which links libctru and its headers by default.
# It is the game alone: main is the game's loop against the real <3ds.h>, with no
# desktop model, command line or files. The result is quorvandelle.3dsx, the file a
# player copies to the SD card, carrying the title, description, author and icon the
# Homebrew Launcher shows.
add_executable(quorvandelle app/main_console.cpp)
target_link_libraries(quorvandelle PRIVATE quorvandelle_game)

ctr_generate_smdh(${CMAKE_CURRENT_BINARY_DIR}/quorvandelle.smdh
  NAME "Quorvandelle"
  DESCRIPTION "Run a hamster breeding farm for twelve months"
  AUTHOR "The Quorvandelle developers"
  ICON ${PROJECT_SOURCE_DIR}/app/icon.png)
ctr_create_3dsx(quorvandelle SMDH ${CMAKE_CURRENT_BINARY_DIR}/quorvandelle.smdh)
