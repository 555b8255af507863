# Per-generator settings of the Windows packages: the installer's name says
# what it is; the ZIP is the portable copy.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()

# The icon of the entry in the list of installed programs.
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\q417sd.exe")

# The .zlx association: a double click opens the file in the editor. Set
# here, where cpack reads it as written, for the quotes to reach the script.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    WriteRegStr HKCR '.zlx' '' 'Q417SD.Settings'
    WriteRegStr HKCR 'Q417SD.Settings' '' 'Q417 SD settings'
    WriteRegStr HKCR 'Q417SD.Settings\\DefaultIcon' '' '$INSTDIR\\bin\\q417sd.exe,0'
    WriteRegStr HKCR 'Q417SD.Settings\\shell\\open\\command' '' '\"$INSTDIR\\bin\\q417sd.exe\" \"%1\"'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
    DeleteRegKey HKCR '.zlx'
    DeleteRegKey HKCR 'Q417SD.Settings'")
