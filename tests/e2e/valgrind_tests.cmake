# The real viewer under valgrind's memcheck on a private Xvfb: no invalid access and no definite
# leak outside the libraries named in tests/valgrind.supp. Label "valgrind".
if(NOT WIN32)
  add_test(NAME valgrind_viewer
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/valgrind.sh $<TARGET_FILE:ribbon>)
  set_tests_properties(valgrind_viewer PROPERTIES
    LABELS valgrind
    TIMEOUT 400
    ENVIRONMENT "E2E_ARTIFACTS=${CMAKE_CURRENT_BINARY_DIR}/e2e")
endif()
