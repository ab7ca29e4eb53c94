# An HTTPS server on loopback for catalogue updates, with a certificate from a throw-away
# authority it makes itself. Arguments: the folder it serves and a folder for its certificates.
# It prints its port once it listens. A file "verhalten" in the served folder, re-read at every
# request, may name files to answer otherwise: "orb32.dat=fehler" (HTTP 500), "=kurz" (half the
# file, then the connection ends) or "=haengen" (half the file, then nothing). It ends when its
# standard input does, so that it never outlives the test that started it.
import http.server, os, ssl, subprocess, sys, threading, time

root, certs = sys.argv[1], sys.argv[2]
path = lambda name: os.path.join(certs, name)

def openssl(*args):
    subprocess.run(['openssl', *args], check=True, capture_output=True)

curve = ['-newkey', 'ec', '-pkeyopt', 'ec_paramgen_curve:prime256v1', '-nodes']
openssl('req', '-x509', *curve, '-keyout', path('ca.key'), '-out', path('ca.pem'),
        '-subj', '/CN=ORBA Test-CA', '-days', '2')
openssl('req', *curve, '-keyout', path('server.key'), '-out', path('server.csr'),
        '-subj', '/CN=127.0.0.1')
with open(path('san.ext'), 'w') as f:
    f.write('subjectAltName=IP:127.0.0.1\n')
openssl('x509', '-req', '-in', path('server.csr'), '-CA', path('ca.pem'), '-CAkey', path('ca.key'),
        '-CAcreateserial', '-out', path('server.pem'), '-days', '2', '-extfile', path('san.ext'))

def behaviour(name):
    try:
        with open(os.path.join(root, 'verhalten')) as f:
            modes = dict(line.strip().split('=', 1) for line in f if '=' in line)
    except OSError:
        return None
    return modes.get(name)

class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        name = os.path.basename(self.path)
        mode = behaviour(name)
        if mode == 'fehler':
            self.send_error(500)
            return
        try:
            with open(os.path.join(root, name), 'rb') as f:
                data = f.read()
        except OSError:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        self.wfile.write(data[:len(data) // 2] if mode in ('kurz', 'haengen') else data)
        if mode == 'haengen':
            time.sleep(60)

server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(path('server.pem'), path('server.key'))
server.socket = context.wrap_socket(server.socket, server_side=True)
threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
print(server.server_address[1], flush=True)
server.serve_forever()
