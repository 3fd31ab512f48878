# Two commands for a fresh Debian 12 machine:
#   make run    installs what is missing, builds the program and opens its window
#   make test   installs what is missing, builds every preset and runs every test suite
# one for a release:
#   make dist   writes the Windows zip, the Debian package and what goes beside them into dist/
# and two for the web page:
#   make web      builds the page into build/web/
#   make run-web  serves it on 127.0.0.1 and prints its address

PACKAGES := cmake ninja-build g++ pkg-config python3 \
	libgtest-dev libgmock-dev libbenchmark-dev \
	libsdl2-dev libx11-dev libxext-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core \
	g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
	wine wine64 xvfb xdotool imagemagick x11-xserver-utils x11-utils \
	clang libclang-rt-14-dev

# The release packages and their checks: CPack finds the programs to give
# dpkg-shlibdeps with file, dpkg-shlibdeps computes the package's Depends, and
# lintian, desktop-file-validate and man check the package.
DIST_PACKAGES := file dpkg-dev lintian desktop-file-utils man-db
# The winget manifests are YAML: python3-yaml reads them and python3-jsonschema
# checks them, and the Scoop manifest, against their published schemas.
DIST_PACKAGES += python3-yaml python3-jsonschema
PACKAGES += $(DIST_PACKAGES)

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
JOBS := $(shell nproc)

.PHONY: deps build run test bench clean dist web run-web

# What the tests need beyond the builds. llvm-14 holds llvm-symbolizer-14, which
# clang's sanitizers run to name the functions in a report (and so to match
# tests/lsan.supp); clang only recommends it. openbox and wmctrl: the display
# tests' window manager and its remote control. wine32 runs the 32-bit program
# where the kernel runs 32-bit code; it needs the i386 architecture.
PACKAGES += llvm-14 openbox wmctrl wine32:i386
# The desktops the display tests also run on: i3 places windows itself, the
# tests' own window manager (python3-xlib) keeps them where it put them, and
# xrandr lays monitors over the screen; Xorg with the dummy driver has two
# outputs side by side. libxrandr-dev: which monitor is the primary one.
PACKAGES += i3-wm python3-xlib libxrandr-dev xserver-xorg-core xserver-xorg-video-dummy
FOREIGN_ARCH := i386

# The web page: Debian's emscripten builds it; the browser tests drive
# Debian's headless Chromium through chromedriver with python3-selenium and
# read its screenshots with python3-pil.
PACKAGES += emscripten chromium chromium-driver python3-selenium python3-pil
# Where Node.js is not Debian's own, emscripten's tools find Debian's
# JavaScript modules (acorn, terser) only through NODE_PATH.
export NODE_PATH := /usr/share/nodejs
WEB_PORT ?= 8000

deps:
	@dpkg --print-foreign-architectures | grep -qx $(FOREIGN_ARCH) || { \
		echo "Adding the $(FOREIGN_ARCH) architecture"; $(SUDO) dpkg --add-architecture $(FOREIGN_ARCH); }
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -qq && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset native
	cmake --build --preset native -j $(JOBS)

run: build
	./build/native/brisko

test: deps
	cmake --preset native
	cmake --build --preset native -j $(JOBS)
	cmake --preset windows-x86
	cmake --build --preset windows-x86 -j $(JOBS)
	cmake --preset windows-x64
	cmake --build --preset windows-x64 -j $(JOBS)
	ctest --preset native -j $(JOBS)
	ctest --preset windows-x86
	ctest --preset windows-x64
	cmake --preset native-asan
	cmake --build --preset native-asan -j $(JOBS)
	ctest --preset native-asan -j $(JOBS) -LE display
	cmake --preset native-fuzz
	cmake --build --preset native-fuzz -j $(JOBS)
	ctest --preset native-fuzz
	cmake --preset web
	cmake --build --preset web -j $(JOBS)
	ctest --preset web -j $(JOBS)

# make test on a new minimal Debian 12 root, to check that make deps installs
# everything (as root; downloads about a gigabyte; see the script's options).
.PHONY: fresh-machine-check fresh-package-check debootstrap-tool
fresh-machine-check: debootstrap-tool
	$(SUDO) tools/fresh-machine-check.sh

# The package make dist writes, installed with apt on a new minimal Debian 12
# root and started there on a virtual display (the script's package mode).
fresh-package-check: dist debootstrap-tool
	$(SUDO) tools/fresh-machine-check.sh package

debootstrap-tool:
	@[ -x /usr/sbin/debootstrap ] || { $(SUDO) apt-get update -qq && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap; }

web: deps
	cmake --preset web
	cmake --build --preset web -j $(JOBS)

# Any static web host serves build/web as well; this one is Python's own.
run-web: web
	@echo "Brisko is at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory build/web

bench: build
	./build/native/bench/frame_bench

clean:
	rm -rf build dist

# The release, through CPack: the zip of the 32-bit Windows program, its
# symbols zip, the winget and Scoop manifests, the Debian package and
# SHA256SUMS. Time stamps come from the last commit, so two runs from one
# revision give the same bytes.
dist: deps
	cmake -DSOURCE=$(CURDIR) -DBUILD_ROOT=$(CURDIR)/build -DDIST=$(CURDIR)/dist -DJOBS=$(JOBS) \
		-P cmake/Release.cmake
	ls -lR dist

# The whole program's CPU use at 50 frames a second, side by side with a
# reference loop, the Windows builds under Wine and the web page in headless
# Chromium, each on a virtual X display.
# Seconds per run: make cpu-usage CPU_USAGE_ARGS=30
.PHONY: cpu-usage web-bench
cpu-usage: build web
	@for preset in windows-x64 windows-x86; do \
		[ -f build/$$preset/brisko.exe ] || { cmake --preset $$preset && \
			cmake --build --preset $$preset -j $(JOBS) --target brisko; } || exit 1; \
	done
	python3 bench/cpu_usage.py $(CPU_USAGE_ARGS)

# The web page's compressed size and how soon its first frame shows, over
# fresh loads in headless Chromium. Debian's python3, which has selenium.
web-bench: web
	/usr/bin/python3 bench/web_page.py
