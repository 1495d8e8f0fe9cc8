add_library(slide_saver_portable STATIC ${CMAKE_CURRENT_LIST_DIR}/SaverRules_.cpp ${CMAKE_CURRENT_LIST_DIR}/MonitorPicks_.cpp)
target_link_libraries(slide_saver_portable PUBLIC sorvita_portable)
sorvita_warnings(slide_saver_portable)
