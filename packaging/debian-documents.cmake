# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# Run by CPack after it has staged the install and before it makes the .deb. Debian wants the
# manual page and the changelog compressed at the highest level, with no name or time stamp
# inside, and a machine-readable copyright file beside the changelog.
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(docdir ${root}/${CPACK_QUORVEL_DATADIR}/doc/quorvel)
# Readable by all whatever the umask of the checkout they come from.
file(COPY ${CPACK_QUORVEL_DOCUMENTS}/copyright ${CPACK_QUORVEL_DOCUMENTS}/changelog
     DESTINATION ${docdir} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
foreach(file ${docdir}/changelog ${root}/${CPACK_QUORVEL_MANDIR}/man6/quorvel.6)
    execute_process(COMMAND gzip -9 -n ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
