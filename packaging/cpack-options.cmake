# Read by cpack while it makes the package.
#
# The DEB generator asks `file` which installed files are programs and hands their names to
# dpkg-shlibdeps. In the C locale that CPack sets, `file` writes the program's name ピルネノ翼 as
# octal escapes, a name no file has; raw names let dpkg-shlibdeps read the program.
find_program(PIRUNE_FILE_UTILITY file REQUIRED)
set(FILE_EXECUTABLE "${PIRUNE_FILE_UTILITY};--raw" CACHE INTERNAL "")
