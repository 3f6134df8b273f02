# Picture downloads are tested against tests/support/PictureHttpServer (cpp-httplib).
target_link_libraries(test_${area} PRIVATE cpp-httplib)
