# Installs the desktop entry with Exec set to the installed game's full path, so that the
# menu starts it whether or not that bin folder is on the desktop session's PATH (a
# ~/.local install often is not). Runs at install time, for the prefix given there.
# In: DREEL_DESKTOP_SOURCE (the entry, with the line Exec=dreel), DREEL_DESKTOP_WORK (a
# build-tree folder), DREEL_BINDIR and DREEL_APPS_DIR (absolute or under the prefix).
foreach(dir BINDIR APPS_DIR)
  if(NOT IS_ABSOLUTE "${DREEL_${dir}}")
    set(DREEL_${dir} "${CMAKE_INSTALL_PREFIX}/${DREEL_${dir}}")
  endif()
endforeach()

set(exec "${DREEL_BINDIR}/dreel")
if(NOT exec MATCHES "^[A-Za-z0-9/._+-]+$")
  # Quoted, with the desktop entry's escapes: \ " ` $ get a backslash, and every
  # backslash is doubled again by the file's own string escapes.
  string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\\\"" exec "${exec}")
  string(REPLACE "`" "\\\\`" exec "${exec}")
  string(REPLACE "$" "\\\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")

file(READ "${DREEL_DESKTOP_SOURCE}" entry)
string(FIND "${entry}" "\nExec=dreel\n" at)
if(at LESS 0)
  message(FATAL_ERROR "${DREEL_DESKTOP_SOURCE} has no line Exec=dreel")
endif()
string(REPLACE "\nExec=dreel\n" "\nExec=${exec}\n" entry "${entry}")

# One work file per destination: a package build and a test install may run at once.
string(MD5 key "$ENV{DESTDIR}${DREEL_APPS_DIR}")
get_filename_component(name "${DREEL_DESKTOP_SOURCE}" NAME)
file(WRITE "${DREEL_DESKTOP_WORK}/${key}/${name}" "${entry}")
file(INSTALL DESTINATION "${DREEL_APPS_DIR}" TYPE FILE FILES "${DREEL_DESKTOP_WORK}/${key}/${name}")
