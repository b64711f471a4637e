# Tarvik: the two everyday commands are `make run` and `make test`.
BUILD    ?= build
ASAN     ?= build-asan
ASANCORE ?= build-asan-core
RELEASE  ?= build-release
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := build-essential cmake qtbase5-dev libqt5sql5-sqlite libqt5svg5-dev \
            libbenchmark-dev xvfb xauth clang libclang-rt-14-dev poppler-utils python3 \
            desktop-file-utils appstream shared-mime-info libglib2.0-bin xdg-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

PREFIX   ?= /usr/local
# `make run` opens the built-in sample schedule unless FILE names another (make run FILE=plan.mpp).
SAMPLE   := resources/files/sample-schedule.mpp

.PHONY: all deps configure build run install test test-asan test-asan-core bench fuzz fuzz-all clean \
        windows-deps windows-qt windows test-windows check-windows-gui deb

all: build

# Installs only what is missing, so a second call makes no apt call at all.
deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS) --target tarvik
	$(RELEASE)/app/tarvik "$(or $(FILE),$(SAMPLE))"

# Installs the program with its desktop entry, MIME type, icons and metadata under PREFIX;
# DESTDIR, when given, is put in front of every installed path (for packaging).
install: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(RELEASE) -j $(JOBS) --target tarvik mppdump
	DESTDIR="$(DESTDIR)" cmake --install $(RELEASE) --prefix $(PREFIX)

# Every library and the application with all their tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the widget tests offscreen.
test-asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=ON -DTARVIK_READER_ONLY=OFF -DTARVIK_CORE_ONLY=OFF
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The part of the above that `make test` runs: the reader, models, tables and filters with their
# tests (the reader's fuzz regressions among them); the widget layers are left to the Debug run.
test-asan-core: deps
	cmake -S . -B $(ASANCORE) -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=ON -DTARVIK_READER_ONLY=OFF -DTARVIK_CORE_ONLY=ON
	cmake --build $(ASANCORE) -j $(JOBS)
	cd $(ASANCORE) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -L "reader|core"

test: build test-asan-core
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTARVIK_BENCH=ON
	cmake --build $(RELEASE) -j $(JOBS)

# Builds one libFuzzer target under ASan/UBSan, seeds a build-local corpus (from the samples, the
# P6 layout files of the tests, the built-in layout and the kept regression inputs)
# and fuzzes for FUZZ_TIME seconds. Targets: fuzz_cfb fuzz_blocks fuzz_reader fuzz_rtf fuzz_plf
# fuzz_layout. `make fuzz-all` runs each in turn.
FUZZ_TIME    ?= 60
FUZZ_TARGET  ?= fuzz_reader
FUZZ_TARGETS := fuzz_cfb fuzz_blocks fuzz_reader fuzz_rtf fuzz_plf fuzz_layout
FUZZ_BUILD   := build-fuzz
FUZZ_SAMPLES := ../shared/samples
FUZZ_NAME     = $(patsubst fuzz_%,%,$(FUZZ_TARGET))
FUZZ_SEEDS    = $(FUZZ_BUILD)/seeds/$(FUZZ_NAME)
FUZZ_CORPUS   = $(FUZZ_BUILD)/corpus/$(FUZZ_NAME)
# Whole files for the compound file and the reader, small inputs for the others.
FUZZ_MAXLEN_fuzz_cfb    := 1048576
FUZZ_MAXLEN_fuzz_reader := 1048576
FUZZ_MAXLEN_fuzz_blocks := 4096
FUZZ_MAXLEN_fuzz_layout := 65536
FUZZ_MAXLEN   = $(or $(FUZZ_MAXLEN_$(FUZZ_TARGET)),16384)
FUZZ_DICT     = $(wildcard fuzz/$(FUZZ_NAME).dict)

fuzz: deps
	@case " $(FUZZ_TARGETS) " in *" $(FUZZ_TARGET) "*) ;; \
	  *) echo "FUZZ_TARGET must be one of:$(FUZZ_TARGETS)" >&2; exit 2;; esac
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_FUZZ=ON -DTARVIK_READER_ONLY=OFF -DTARVIK_CORE_ONLY=OFF -DTARVIK_SANITIZE=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGET) fuzz_seedmaker
	rm -rf $(FUZZ_SEEDS) && mkdir -p $(FUZZ_SEEDS) $(FUZZ_CORPUS)
	cp tests/data/fuzz-regressions/$(FUZZ_NAME)/* $(FUZZ_SEEDS)/
	case $(FUZZ_NAME) in \
	  cfb|reader) cp $(FUZZ_SAMPLES)/*/*.mpp $(FUZZ_SEEDS)/ ;; \
	  plf) cp tests/app/plf/*.plf $(FUZZ_SEEDS)/ ;; \
	  layout) cp resources/files/mpp_style.json $(FUZZ_SEEDS)/ ;; \
	  blocks|rtf) $(FUZZ_BUILD)/fuzz/fuzz_seedmaker $(FUZZ_NAME) $(FUZZ_SEEDS) \
	      $(FUZZ_SAMPLES)/*/*.mpp ;; \
	esac
	cd $(FUZZ_BUILD) && QT_QPA_PLATFORM=offscreen TARVIK_SAMPLES=$(abspath $(FUZZ_SAMPLES)) \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    $(if $(filter fuzz_layout,$(FUZZ_TARGET)),ASAN_OPTIONS=fast_unwind_on_malloc=0:malloc_context_size=10) \
	    ./fuzz/$(FUZZ_TARGET) -max_total_time=$(FUZZ_TIME) -rss_limit_mb=2048 -timeout=10 \
	    -max_len=$(FUZZ_MAXLEN) -print_final_stats=1 $(if $(FUZZ_DICT),-dict=$(CURDIR)/$(FUZZ_DICT)) \
	    -artifact_prefix=$(CURDIR)/$(FUZZ_BUILD)/$(FUZZ_NAME)- \
	    corpus/$(FUZZ_NAME) seeds/$(FUZZ_NAME)

fuzz-all:
	for target in $(FUZZ_TARGETS); do \
	  $(MAKE) --no-print-directory fuzz FUZZ_TARGET=$$target FUZZ_TIME=$(FUZZ_TIME) || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(ASAN) $(ASANCORE) $(RELEASE) $(FUZZ_BUILD) $(WINBUILD)

# --- Windows x86-64, cross-built here and tested under Wine ---------------------------------
WINBUILD    ?= build-windows
WINQT       ?= $(HOME)/.cache/tarvik/qt5-mingw64
WINTOOLS    := packaging/windows
WINPACKAGES := g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis zip unzip ninja-build \
               cmake xvfb xauth x11-utils
VERSION     := $(shell grep -o 'Tarvik VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)
WINZIP      := $(WINBUILD)/Tarvik-$(VERSION)-win64.zip
WINE_RUN    := $(CURDIR)/$(WINTOOLS)/wine-run.sh $(CURDIR)/$(WINBUILD) $(WINQT)

# Like deps, for the cross compiler, Wine and NSIS; stops naming what could not be installed.
windows-deps:
	@missing=$$(for p in $(WINPACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  { $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; } || \
	  { echo "make windows: could not install" $$missing "(is the package archive reachable?)" >&2; exit 1; }; \
	fi

windows-qt: windows-deps
	@$(WINTOOLS)/ensure-qt.sh $(WINQT)

# tarvik.exe, mppdump.exe and the tests; then the zip (checked against the import tables and,
# under Wine, against the Linux mppdump) and the installer.
windows: windows-qt
	cmake -S . -B $(WINBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_PREFIX_PATH=$(WINQT)
	nice cmake --build $(WINBUILD) -j $(JOBS)
	$(WINTOOLS)/package-zip.sh $(WINBUILD) $(WINQT) $(VERSION) .
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS) --target mppdump
	$(WINTOOLS)/check-package.sh $(WINBUILD) $(WINZIP) $(RELEASE)/tools/mppdump/mppdump \
	    ../shared/samples/extra/*.mpp
	$(WINTOOLS)/build-installer.sh $(WINBUILD) $(VERSION)

# The Windows tests under Wine, offscreen, in the build's own Wine prefix.
test-windows: windows
	cd $(WINBUILD) && QT_QPA_PLATFORM=offscreen $(WINE_RUN) ctest --output-on-failure -j $(JOBS)

# tarvik.exe from the unpacked zip under Wine on Xvfb, with a sample on its command line.
check-windows-gui: windows
	$(WINTOOLS)/check-gui.sh $(WINBUILD) $(WINZIP) ../shared/samples/extra/sample.mpp

# build-release/tarvik_<version>_amd64.deb from the install rules, checked with lintian.
deb: deps
	$(SUDO) sh -c 'dpkg-query -W lintian >/dev/null 2>&1 || { apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq lintian; }'
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS) --target tarvik mppdump
	cd $(RELEASE) && cpack -G DEB
	lintian --fail-on error $(RELEASE)/tarvik_$(VERSION)_amd64.deb
