# The browser build's own parts, included by the root CMakeLists.txt under emscripten:
# the game as a page (our shell, the data packaged beside it, the loop yielding to the
# browser at every sleep) and the replay tool as a node program on the real file system.
# The data comes from a desktop build (DREEL_DATA_DIR, set by scripts/web.sh), so the
# page plays the very same pictures and sounds.

set(DREEL_WEB_DIR "${CMAKE_CURRENT_LIST_DIR}")

# The game: ASYNCIFY lets the unchanged frame loop sleep by returning to the browser.
# main waits for the page's click (sound and pointer lock need a gesture); the runtime
# exits with main so the page learns when the game ended. IDBFS is the browser store the
# page mounts for the player's files (runtime/user_folders.h).
# SDL's sound needs these two of emscripten's JavaScript helpers; named in a file, as a
# '$' would not survive the way to the linker's command line.
set(DREEL_WEB_KEEP "${CMAKE_CURRENT_BINARY_DIR}/web-keep.json")
file(WRITE "${DREEL_WEB_KEEP}" "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")
foreach(program dreel dreel-replay)
  target_link_options(${program} PRIVATE "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${DREEL_WEB_KEEP}")
endforeach()
target_sources(dreel PRIVATE "${DREEL_WEB_DIR}/web_controls.cpp")
set_target_properties(dreel PROPERTIES SUFFIX ".html")
target_link_options(dreel PRIVATE
  -sASYNCIFY -sALLOW_MEMORY_GROWTH=1 -sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sMINIFY_HTML=0 -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=['callMain','FS','addRunDependency','removeRunDependency']"
  "--shell-file=${DREEL_WEB_DIR}/shell.html"
  "--preload-file=${DREEL_DATA_DIR}@/")
set_property(TARGET dreel APPEND PROPERTY LINK_DEPENDS "${DREEL_WEB_DIR}/shell.html")

# The replay tool under node: synchronous start (node's fetch cannot read a path), the
# real file system for scripts, traces and the data folder, the exit code passed on.
target_link_options(dreel-replay PRIVATE
  -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
  "--pre-js=${DREEL_WEB_DIR}/node-pre.js")
set_property(TARGET dreel-replay APPEND PROPERTY LINK_DEPENDS "${DREEL_WEB_DIR}/node-pre.js")
