# The run-loop contract, here against the poll backend.
target_sources(test_${area} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/contract/RunLoopContract.cpp)
