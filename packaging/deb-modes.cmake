# The .deb's modes, whatever the builder's umask (the folders CPack makes and the files it writes follow it, and
# CMake has no setting that does not). Run by CPack before the package is made: the staged folders get 0755.
# Run again once it is made: the package's own ar members (debian-binary, control.tar.*, data.tar.*) get 0644,
# as dpkg-deb writes them. An ar header is 60 bytes, the mode the 8 at offset 40 (octal, space-padded), the
# size the 10 at 48; members are aligned to 2 bytes.
if(NOT DEFINED CPACK_PACKAGE_FILES)
    file(CHMOD_RECURSE "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY_PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.deb$")
        execute_process(
            COMMAND perl -0777 -pi -e [[
                for (my $at = 8; $at + 60 <= length; $at += $at % 2) {
                    substr($_, $at + 40, 8) = sprintf("%-8o", 0100644);
                    $at += 60 + substr($_, $at + 48, 10);
                }]] "${package}"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
