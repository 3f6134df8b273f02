# The broadcast screens are driven on the fake transport (scripted answers, virtual time).
target_link_libraries(test_${area} PRIVATE lk_cli)
# The photo tests write EXIF-tagged JPEG files of their own.
target_link_libraries(test_${area} PRIVATE PkgConfig::EXIF)
