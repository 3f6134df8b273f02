# The broadcast screens are driven on the fake transport (scripted answers, virtual time).
target_link_libraries(test_${area} PRIVATE lk_cli)
# The photo tests write EXIF-tagged JPEG files of their own.
target_link_libraries(test_${area} PRIVATE PkgConfig::EXIF)
# One run of the front end against the stand-in service program.
add_dependencies(test_${area} lokavo-service)
