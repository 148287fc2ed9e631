# One place for the language level, warnings and Qt safety defines; every target links it.
add_library(tavix_common INTERFACE)
target_compile_features(tavix_common INTERFACE cxx_std_20)
target_compile_options(tavix_common INTERFACE -Wall -Wextra)
if(TAVIX_WERROR)
  target_compile_options(tavix_common INTERFACE -Werror)
endif()
if(TAVIX_ASAN)
  target_compile_options(tavix_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(tavix_common INTERFACE -fsanitize=address,undefined)
endif()
target_compile_definitions(tavix_common INTERFACE
  QT_NO_CAST_TO_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  QT_DISABLE_DEPRECATED_BEFORE=0x060400
  QT_STRICT_ITERATORS
)
