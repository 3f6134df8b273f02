# The service tests drive the real program over HTTP and reuse a few of its helpers directly;
# libjpeg makes the hostile pictures they upload.
add_dependencies(test_${area} lokavo-service)
target_link_libraries(test_${area} PRIVATE lk_service_core ZLIB::ZLIB SQLite::SQLite3 JPEG::JPEG)
