# Installs the build tree BUILD into the empty staging folder STAGING, as `DESTDIR=STAGING
# cmake --install BUILD` does, so that nothing of an older install is tested.
file(REMOVE_RECURSE ${STAGING})
set(ENV{DESTDIR} ${STAGING})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} COMMAND_ERROR_IS_FATAL ANY)
