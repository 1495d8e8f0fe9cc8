add_library(backdrop_changer_portable STATIC ${CMAKE_CURRENT_LIST_DIR}/SettingsRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShowLogic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupRules_.cpp)
target_link_libraries(backdrop_changer_portable PUBLIC sorvita_portable)
sorvita_warnings(backdrop_changer_portable)
