# The tests forge damaged PNG headers and need zlib's CRC to make them look valid.
target_link_libraries(test_${area} PRIVATE ZLIB::ZLIB)
