# Two entry points; everything else lives in scripts/.
.PHONY: demo test
demo:
	scripts/demo.sh
test:
	scripts/test.sh
