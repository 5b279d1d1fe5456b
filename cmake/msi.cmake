# CPack's External generator runs this script on the files staged for the zip and makes the MSI
# installer of them with wixl (msitools): ribbon-<version>-win64.msi. Its product code follows
# from the version, so a rebuild of one version stays the same product and a new version is a
# new one, which replaces the old through the installer's fixed upgrade code.
find_program(wixl wixl REQUIRED)
string(UUID product_code NAMESPACE ${CPACK_RIBBON_UPGRADE_CODE} NAME ${CPACK_PACKAGE_VERSION}
       TYPE SHA1 UPPER)
set(msi ${CPACK_PACKAGE_DIRECTORY}/ribbon-${CPACK_PACKAGE_VERSION}-win64.msi)
# wixl takes relative paths only, from its working directory.
file(RELATIVE_PATH icon ${CPACK_TEMPORARY_DIRECTORY} ${CPACK_RIBBON_ICON})
execute_process(
  COMMAND ${wixl} --arch x64 -D Version=${CPACK_PACKAGE_VERSION} -D ProductCode=${product_code}
          -D UpgradeCode=${CPACK_RIBBON_UPGRADE_CODE} "-D" "Description=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}"
          -D Icon=${icon} -D SourceDir=. -o ${msi} ${CPACK_RIBBON_WXS}
  WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY}
  COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
